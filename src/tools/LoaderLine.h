#pragma once
#include <cstdint>
#include <span>

namespace quillon {

enum class LineStatus {
    Done,      // every byte moved
    TimedOut,  // the time-out passed first
    Lost,      // the port is gone (unplugged, hung up)
    Stopped,   // the operator cancelled
};

// The port the firmware loader is reached through.  Used by one thread.
class ILoaderLine {
public:
    virtual ~ILoaderLine() = default;
    virtual LineStatus Write(std::span<const std::uint8_t> bytes) = 0;
    // Fills all of `into`, or says why not.
    virtual LineStatus Read(std::span<std::uint8_t> into) = 0;
    // Waits `ms`, less when cancelled.
    virtual void Pause(int ms) = 0;
    virtual bool Cancelled() const = 0;
};

}  // namespace quillon
