#pragma once
#include <cstddef>
#include <cstdint>

namespace quillon {

// One route's handler of device replies.  It gets the bytes as they were
// taken out of the receive buffer, split anywhere, and keeps what it needs
// between calls.
class IReplyProcessor {
public:
    virtual ~IReplyProcessor() = default;
    virtual void Feed(const uint8_t* bytes, size_t count) = 0;
    // Forgets partial input: the route changed or stale input was discarded.
    virtual void Reset() = 0;
    // The line went quiet after the device's last byte; the last
    // `fedAfterPause` bytes fed came after the pause began.
    virtual void LineQuiet(std::size_t fedAfterPause) { (void)fedAfterPause; }
};

}  // namespace quillon
