#include "device/ImageExtraction.h"

#include "base/Prompt.h"

namespace quillon {

void ImageExtraction::Run(int width, int height)
{
    if (width < 0 || height < 0) {
        // Ticked by hand: the size dialog needs the resolution first.
        source_.RequestResolution();
        return;
    }
    const std::optional<ImageSize> size = dialogs_.AskImageSize(width, height);
    if (!size) {
        host_.SetExtractChecked(false);
        return;
    }
    host_.PrepareForImage();
    if (!host_.ExtractChecked())
        return;
    refusal_ = nullptr;
    source_.RequestImage(size->width, size->height);
    transferring_ = true;
    const bool finished = dialogs_.RunProgress(source_.Progress());
    transferring_ = false;
    if (refusal_)
        prompt_.ShowError(refusal_);
    else if (!finished && !source_.Progress().finished)
        prompt_.ShowError(kImageStalledText);
    host_.SetExtractChecked(false);
    // A transfer that stalled ends here too.
    host_.ExtractionEnded();
}

void ImageExtraction::Refused(const char* message)
{
    if (transferring_) {
        // Said when the progress dialog has closed, not over it.
        refusal_ = message;
        return;
    }
    // Image data nobody asked for: the hidden "图像提取" box was left ticked
    // and took what the device decoded.  Capture goes on without it.
    host_.SetExtractChecked(false);
    host_.ExtractionEnded();
    host_.ShowErrorLater(message);
}

}  // namespace quillon
