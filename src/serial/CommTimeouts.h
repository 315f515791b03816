#pragma once
#include <cstdint>

namespace quillon {

// The channel's read and write time-outs, in milliseconds.  A read ends when
// its count has arrived, when `readInterval` passes between two bytes (timed
// only once a byte has come), or when multiplier x count + constant has
// passed in all.  A write gives up after multiplier x count + constant.
struct CommTimeouts {
    int readInterval;
    int readTotalMultiplier;
    int readTotalConstant;
    int writeTotalMultiplier;
    int writeTotalConstant;
};

// The values the channel runs with.
CommTimeouts ChannelTimeouts();

// How long a read of `count` bytes may still wait, given the time since it
// started and since its last byte (negative: no byte yet).  0 means the read
// is over.
int ReadWaitMs(const CommTimeouts& timeouts, uint32_t count, int64_t sinceStartMs, int64_t sinceLastByteMs);

// The longest a write of `count` bytes may take.
int64_t WriteBudgetMs(const CommTimeouts& timeouts, uint32_t count);

// How long output may make no progress before the device counts as not
// reading: a driver wakes a waiting writer only once 256 bytes have left,
// which takes that long at the line speed, and a little more.
int StallMs(unsigned bitsPerSecond);

}  // namespace quillon
