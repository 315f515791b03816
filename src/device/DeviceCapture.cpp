#include "device/DeviceCapture.h"

#include "device/FrameBuilder.h"
#include "device/ReplyDispatcher.h"
#include "document/QuillonDoc.h"

namespace quillon {

DeviceCapture::DeviceCapture(CQuillonDoc& doc, FrameBuilder& frames, ReplyDispatcher& dispatcher, LinkState& link,
                             ICaptureHost& host)
    : doc_(doc),
      frames_(frames),
      dispatcher_(dispatcher),
      link_(link),
      host_(host),
      version_(doc.deviceInfo, DeviceInfo::kAllKinds,
               [this] {
                   End();
                   host_.VersionComplete();
               }),
      resolution_(doc.deviceInfo, DeviceInfo::kResolutionKind,
                  [this] {
                      End();
                      host_.ResolutionArrived();
                  }),
      image_(doc.image, *this),
      decoded_(doc, [this] { host_.DecodedCaptured(); })
{
    dispatcher_.Register(ReplyRoute::Version, version_);
    dispatcher_.Register(ReplyRoute::Resolution, resolution_);
    dispatcher_.Register(ReplyRoute::ImageData, image_);
    dispatcher_.Register(ReplyRoute::DecodedOutput, decoded_);
}

void DeviceCapture::Begin(ReplyRoute route)
{
    running_ = link_.Begin(route);
    dispatcher_.DiscardInput();
}

void DeviceCapture::RequestVersion()
{
    Begin(ReplyRoute::Version);
    doc_.deviceInfo.Clear();
    frames_.SendInfoRequests();
}

void DeviceCapture::RequestResolution()
{
    Begin(ReplyRoute::Resolution);
    doc_.deviceInfo.infoKinds = 0;
    frames_.SendResolutionRequest();
}

void DeviceCapture::RequestImage(int width, int height)
{
    Begin(ReplyRoute::ImageData);
    frames_.SendImageRequest(width, height);
}

void DeviceCapture::AbandonImage()
{
    image_.Abandon();
}

void DeviceCapture::ImageArrived()
{
    End();
    host_.ImageArrived();
}

void DeviceCapture::ImageRefused(const char* message)
{
    // The device goes on sending the refused image: none of it may be
    // taken for the replies or the decoded output that come after.
    dispatcher_.DropUntilQuiet();
    End();
    host_.ImageRefused(message);
}

}  // namespace quillon
