#pragma once
#include <chrono>
#include <cstdint>

#include "serial/CommTimeouts.h"

namespace quillon {

// Reads and writes on a non-blocking serial descriptor that wait in poll()
// between bursts, bounded by time-outs and cut short as soon as `stopFd`
// becomes readable, so the thread that owns the port can always be ended.
struct TimedIoResult {
    uint32_t count = 0;    // bytes moved
    bool lost = false;     // the device is gone (end of file, I/O error, hang-up)
    bool stopped = false;  // stopFd fired
};

// Milliseconds since `then`.
int64_t MsSince(std::chrono::steady_clock::time_point then);

// A poll() result that says the descriptor is hung up, in error or closed.
bool PollFailed(short revents);

// Up to `count` bytes: ends when they have all arrived, when the time-outs
// say the read is over (ReadWaitMs), when the device is lost or when stopped.
TimedIoResult ReadWithin(int fd, int stopFd, void* buffer, uint32_t count, const CommTimeouts& timeouts);

// All `count` bytes, unless `budgetMs` passes first, the device is lost or
// the write is stopped.
TimedIoResult WriteWithin(int fd, int stopFd, const void* bytes, uint32_t count, int64_t budgetMs);

}  // namespace quillon
