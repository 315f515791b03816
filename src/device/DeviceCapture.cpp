#include "device/DeviceCapture.h"

#include "device/FrameBuilder.h"
#include "device/ReplyDispatcher.h"
#include "document/QuillonDoc.h"

namespace quillon {

DeviceCapture::DeviceCapture(CQuillonDoc& doc, FrameBuilder& frames, ReplyDispatcher& dispatcher, int& replyRoute,
                             ICaptureHost& host)
    : doc_(doc),
      frames_(frames),
      dispatcher_(dispatcher),
      replyRoute_(replyRoute),
      host_(host),
      version_(doc.deviceInfo, DeviceInfo::kAllKinds, [this] { host_.VersionComplete(); }),
      resolution_(doc.deviceInfo, DeviceInfo::kResolutionKind, [this] { host_.ResolutionArrived(); }),
      image_(doc.image, *this),
      decoded_(doc, [this] { host_.DecodedCaptured(); })
{
    dispatcher_.Register(ReplyRoute::Version, version_);
    dispatcher_.Register(ReplyRoute::Resolution, resolution_);
    dispatcher_.Register(ReplyRoute::ImageData, image_);
    dispatcher_.Register(ReplyRoute::DecodedOutput, decoded_);
}

void DeviceCapture::RequestVersion()
{
    dispatcher_.DiscardInput();
    replyRoute_ = static_cast<int>(ReplyRoute::Version);
    doc_.deviceInfo.Clear();
    frames_.SendInfoRequests();
}

void DeviceCapture::RequestResolution()
{
    dispatcher_.DiscardInput();
    replyRoute_ = static_cast<int>(ReplyRoute::Resolution);
    doc_.deviceInfo.infoKinds = 0;
    frames_.SendResolutionRequest();
}

void DeviceCapture::RequestImage(int width, int height)
{
    dispatcher_.DiscardInput();
    replyRoute_ = static_cast<int>(ReplyRoute::ImageData);
    frames_.SendImageRequest(width, height);
}

void DeviceCapture::ImageArrived()
{
    replyRoute_ = static_cast<int>(ReplyRoute::None);
    host_.ImageArrived();
}

void DeviceCapture::ImageRefused(const char* message)
{
    // The device goes on sending the refused image: none of it may be
    // taken for the replies or the decoded output that come after.
    dispatcher_.DropUntilQuiet();
    replyRoute_ = static_cast<int>(ReplyRoute::None);
    host_.ImageRefused(message);
}

}  // namespace quillon
