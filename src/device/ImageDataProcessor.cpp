#include "device/ImageDataProcessor.h"

#include <algorithm>
#include <cstring>

namespace quillon {

namespace {

constexpr std::uint8_t kImageClass = 0x61;

unsigned Big16(const std::uint8_t* at)
{
    return static_cast<unsigned>(at[0]) << 8 | at[1];
}

std::uint32_t Big32(const std::uint8_t* at)
{
    return static_cast<std::uint32_t>(Big16(at)) << 16 | Big16(at + 2);
}

}  // namespace

void ImageDataProcessor::Reset()
{
    area_.clear();
    wanted_ = kept_ = kHeaderSize;
    received_ = 0;
    progress_ = TransferProgress{};
}

void ImageDataProcessor::Feed(const uint8_t* bytes, size_t count)
{
    while (count > 0 && !progress_.finished) {
        // Pixels past width x height are counted, not kept.
        const std::size_t take = std::min(count, wanted_ - received_);
        const std::size_t kept = std::min(take, kept_ - std::min(kept_, area_.size()));
        area_.insert(area_.end(), bytes, bytes + kept);
        received_ += take;
        bytes += take;
        count -= take;
        if (received_ < wanted_)
            break;
        if (wanted_ == kHeaderSize) {
            if (const char* refusal = CheckHeader()) {
                Refuse(refusal);
                return;
            }
            const std::uint8_t* h = area_.data();
            progress_.expected = Big32(h + 7);
            wanted_ = kHeaderSize + progress_.expected;
            kept_ = kHeaderSize + std::size_t{Big16(h + 1)} * Big16(h + 3);
            area_.reserve(kept_);
        }
        if (received_ == wanted_)
            Complete();
    }
    if (wanted_ > kHeaderSize && !progress_.finished)
        progress_.received = static_cast<std::uint32_t>(received_ - kHeaderSize);
}

const char* ImageDataProcessor::CheckHeader()
{
    const std::uint8_t* h = area_.data();
    const std::uint64_t width = Big16(h + 1);
    const std::uint64_t height = Big16(h + 3);
    const std::uint64_t pixels = Big32(h + 7);
    // A device may pad the pixels; fewer than the picture needs is no image.
    if (h[0] != kImageClass || width == 0 || height == 0 || pixels < width * height)
        return kImageFormatErrorText;
    if (kHeaderSize + width * height > kAreaSize)
        return kImageTooLargeText;
    return nullptr;
}

void ImageDataProcessor::Refuse(const char* message)
{
    area_.clear();
    area_.shrink_to_fit();
    received_ = 0;
    progress_.finished = true;
    host_.ImageRefused(message);
}

void ImageDataProcessor::Complete()
{
    const std::uint8_t* h = area_.data();
    const int width = static_cast<int>(Big16(h + 1));
    const int height = static_cast<int>(Big16(h + 3));
    const std::size_t row = static_cast<std::size_t>(width);
    // Top row first on the wire, bottom row first in the document.
    image_.pixels.resize(row * static_cast<std::size_t>(height));
    const std::uint8_t* source = h + kHeaderSize;
    for (int y = 0; y < height; ++y)
        std::memcpy(image_.pixels.data() + static_cast<std::size_t>(height - 1 - y) * row, source + y * row, row);
    image_.width = width;
    image_.height = height;
    image_.byteCount = received_;
    ++image_.serial;
    progress_.received = progress_.expected;
    progress_.finished = true;
    area_.clear();
    host_.ImageArrived();
}

}  // namespace quillon
