#include "serial/CommTimeouts.h"

#include <algorithm>

namespace quillon {

CommTimeouts ChannelTimeouts()
{
    return {100, 0, 500, 1, 10000};
}

int ReadWaitMs(const CommTimeouts& timeouts, uint32_t count, int64_t sinceStartMs, int64_t sinceLastByteMs)
{
    const int64_t total = int64_t(timeouts.readTotalMultiplier) * count + timeouts.readTotalConstant;
    int64_t wait = total - sinceStartMs;
    if (sinceLastByteMs >= 0)
        wait = std::min(wait, timeouts.readInterval - sinceLastByteMs);
    return static_cast<int>(std::max<int64_t>(wait, 0));
}

int64_t WriteBudgetMs(const CommTimeouts& timeouts, uint32_t count)
{
    return int64_t(timeouts.writeTotalMultiplier) * count + timeouts.writeTotalConstant;
}

int StallMs(unsigned bitsPerSecond)
{
    constexpr int64_t kWakeBytes = 256;
    constexpr int64_t kBitsPerByte = 10;  // start, 8 data, stop
    constexpr int64_t kSlackMs = 200;
    return static_cast<int>(kWakeBytes * kBitsPerByte * 1000 / std::max(bitsPerSecond, 1u) + kSlackMs);
}

}  // namespace quillon
