#pragma once
#include "device/DecodedOutputProcessor.h"
#include "device/ImageDataProcessor.h"
#include "device/ImageExtraction.h"
#include "device/InfoReplyProcessor.h"
#include "device/LinkState.h"

namespace quillon {

class CQuillonDoc;
class FrameBuilder;
class ReplyDispatcher;

// What the window (or the command-line tool) does when a capture
// operation reaches its point.  Each is called from inside the reply
// dispatch; one that runs a modal dialog should run it later.
class ICaptureHost {
public:
    virtual ~ICaptureHost() = default;
    // Each is told after its operation ended, so the link rests again.
    // All eight information fields are in the document's deviceInfo.
    virtual void VersionComplete() = 0;
    // The resolution asked for by RequestResolution is in deviceInfo.
    virtual void ResolutionArrived() = 0;
    // The document holds the new image.
    virtual void ImageArrived() = 0;
    // Nothing of the transfer was kept.
    virtual void ImageRefused(const char* message) = 0;
    // New records are in the document's decoded output.
    virtual void DecodedCaptured() = 0;
};

// The device operations that read rather than configure: the version
// record (route 5), the resolution (route 8), the image (route 3) and the
// decoded output (route 2).  It puts its processors on the dispatcher's
// routes; every request begins its operation on the link, drops stale
// input and sends its frames.  Decoded output is no operation: it is the
// monitor view's resting route.
class DeviceCapture : public IImageSource, private IImageTransferHost {
public:
    DeviceCapture(CQuillonDoc& doc, FrameBuilder& frames, ReplyDispatcher& dispatcher, LinkState& link,
                  ICaptureHost& host);

    // "设备版本": all information fields of the catalogue's read list.
    void RequestVersion();
    // "图像提取": the resolution, before the size is chosen.
    void RequestResolution() override;
    // The image of the chosen size.
    void RequestImage(int width, int height) override;

    const TransferProgress& Progress() const override { return image_.Progress(); }
    // The link went down under a running image: it is given up.
    void AbandonImage();
    // A capture stops: the decoded output under way is a record, though the
    // device has not paused yet.
    void EndDecodedRecord() { decoded_.LineQuiet(0); }

private:
    void Begin(ReplyRoute route);
    // Ends the running request; false when it had ended already.
    bool End() { return link_.End(running_); }
    void ImageArrived() override;
    void ImageRefused(const char* message) override;

    CQuillonDoc& doc_;
    FrameBuilder& frames_;
    ReplyDispatcher& dispatcher_;
    LinkState& link_;
    LinkOperation running_;
    ICaptureHost& host_;
    InfoReplyProcessor version_;
    InfoReplyProcessor resolution_;
    ImageDataProcessor image_;
    DecodedOutputProcessor decoded_;
};

}  // namespace quillon
