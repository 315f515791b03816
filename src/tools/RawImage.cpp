#include "tools/RawImage.h"

#include <algorithm>
#include <string_view>

namespace quillon {

namespace {

constexpr std::string_view kVersionTag = "v=b=";
constexpr std::string_view kSignatureTag = "s=t=";
constexpr std::size_t kVersionHeader = 8;
constexpr std::size_t kSignatureHeader = 14;
constexpr std::size_t kSignatureVersionAt = 6;

bool HasTagAt(std::span<const std::uint8_t> bytes, std::size_t at, std::string_view tag)
{
    return bytes.size() >= at + tag.size() && std::equal(tag.begin(), tag.end(), bytes.begin() + at);
}

}  // namespace

std::size_t ImageHeaderLength(std::span<const std::uint8_t> image)
{
    std::size_t skipped = 0;
    if (HasTagAt(image, 0, kVersionTag))
        skipped = std::min(kVersionHeader, image.size());
    const auto rest = image.subspan(skipped);
    if (HasTagAt(rest, 0, kSignatureTag) && HasTagAt(rest, kSignatureVersionAt, kVersionTag))
        skipped += std::min(kSignatureHeader, rest.size());
    return skipped;
}

std::size_t ImageBlockCount(std::size_t payload)
{
    return (payload + kImageBlockSize - 1) / kImageBlockSize;
}

std::size_t ImageProgressDivisor(std::size_t fileSize, std::size_t blockCount)
{
    const std::size_t wholeBlocks = fileSize / kImageBlockSize;
    return std::max(wholeBlocks + wholeBlocks / 10, blockCount);
}

int ProgressPercent(std::size_t done, std::size_t total)
{
    if (total == 0)
        return 100;
    return static_cast<int>(100 * std::min(done, total) / total);
}

}  // namespace quillon
