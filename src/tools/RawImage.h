#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

namespace quillon {

// A raw firmware image goes to the loader in blocks of this size, the last
// one shorter, with no answer between blocks.
constexpr std::size_t kImageBlockSize = 4096;

// The leading bytes of an image that are packaging, not firmware: an
// 8-byte "v=b=" header, then a 14-byte "s=t=" header whose bytes 6 to 9 are
// "v=b=".  Either may be missing; 0, 8, 14 or 22.
std::size_t ImageHeaderLength(std::span<const std::uint8_t> image);

// Blocks needed for `payload` bytes.
std::size_t ImageBlockCount(std::size_t payload);

// What the progress after each block is measured against: m + m / 10, with
// m the whole blocks in the file as read (headers included), so that about
// a tenth of the bar is left for the device's final answer.  Never below
// the number of blocks sent: a short image would otherwise divide by zero,
// and one just over a whole number of blocks would show more than 100.
std::size_t ImageProgressDivisor(std::size_t fileSize, std::size_t blockCount);

// 100 x done / total in whole percent; 100 when total is 0.
int ProgressPercent(std::size_t done, std::size_t total);

}  // namespace quillon
