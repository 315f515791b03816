#pragma once
#include "device/ReplyProcessor.h"
#include "device/TransferProgress.h"
#include "document/DeviceImage.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillon {

inline constexpr const char* kImageFormatErrorText = "图像数据格式错误，请重试！";
inline constexpr const char* kImageTooLargeText = "图像数据超过1MB的接收区，请选择较小的提取尺寸后重试！";

// What the window does when a transfer ends.
class IImageTransferHost {
public:
    virtual ~IImageTransferHost() = default;
    // The image is in the document; show it.
    virtual void ImageArrived() = 0;
    // The transfer was refused; nothing of it was kept.
    virtual void ImageRefused(const char* message) = 0;
};

// Route 3: the image data frame, 0x61, width and height (16 bits each, big
// endian), two bytes not looked at, the pixel count P (32 bits), then P grey
// bytes, top row first.  Bytes may come split anywhere.
//
// A header is refused (format message) unless it starts with 0x61, both
// sides are above 0 and P is at least width x height: the first width x
// height bytes are the picture and the transfer is complete after P.  One
// whose picture would not fit the 1 MiB receive area with the header is
// refused with its own message.  Nothing is ever written past the area, and
// bytes after a refusal or after the last pixel are dropped until Reset.
class ImageDataProcessor : public IReplyProcessor {
public:
    static constexpr std::size_t kAreaSize = 1048576;
    static constexpr std::size_t kHeaderSize = 11;

    ImageDataProcessor(DeviceImage& image, IImageTransferHost& host) : image_(image), host_(host) {}

    void Feed(const uint8_t* bytes, size_t count) override;
    void Reset() override;

    const TransferProgress& Progress() const { return progress_; }
    // The link went down under the transfer: it ends, without a word.
    void Abandon() { progress_.finished = true; }
    // Bytes held in the receive area (header included).
    std::size_t Held() const { return area_.size(); }

private:
    void Refuse(const char* message);
    const char* CheckHeader();
    void Complete();

    DeviceImage& image_;
    IImageTransferHost& host_;
    std::vector<std::uint8_t> area_;
    std::size_t wanted_ = kHeaderSize;  // total bytes of the frame once its header is known
    std::size_t kept_ = kHeaderSize;    // of which the header and the picture are kept
    std::size_t received_ = 0;
    TransferProgress progress_;
};

}  // namespace quillon
