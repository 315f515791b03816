#pragma once
#include "device/CaptureDialogs.h"

namespace quillon {

class IPrompt;

inline constexpr const char* kImageStalledText = "设备停止发送图像数据，提取未完成，请重试！";

// Where an extraction's image comes from: the device capture's requests.
class IImageSource {
public:
    virtual ~IImageSource() = default;
    virtual void RequestResolution() = 0;
    virtual void RequestImage(int width, int height) = 0;
    virtual const TransferProgress& Progress() const = 0;
};

// What the window does for an extraction.
class IImageExtractionHost {
public:
    virtual ~IImageExtractionHost() = default;
    // The hidden "图像提取" box: ticked by the command or by hand, and
    // cleared when the extraction ends.
    virtual bool ExtractChecked() const = 0;
    virtual void SetExtractChecked(bool checked) = 0;
    // Drops what waits on the line and gives the lower pane to the image.
    virtual void PrepareForImage() = 0;
    // The link rests on decoded output again.
    virtual void ExtractionEnded() = 0;
    // Said once the reply dispatch that found the fault has returned.
    virtual void ShowErrorLater(const char* message) = 0;
};

// "图像提取" from the device's resolution on: the size asked, the image
// requested, its progress followed to the end, and what went wrong said
// once, after the progress dialog has closed.
class ImageExtraction {
public:
    ImageExtraction(IImageSource& source, ICaptureDialogs& dialogs, IPrompt& prompt, IImageExtractionHost& host)
        : source_(source),
          dialogs_(dialogs),
          prompt_(prompt),
          host_(host)
    {
    }

    // With the resolution the device reported; a negative one is not known
    // yet, so it is asked for first.
    void Run(int width, int height);
    // The image processor refused what arrived.
    void Refused(const char* message);

private:
    IImageSource& source_;
    ICaptureDialogs& dialogs_;
    IPrompt& prompt_;
    IImageExtractionHost& host_;
    bool transferring_ = false;  // while the progress dialog runs
    const char* refusal_ = nullptr;
};

}  // namespace quillon
