#pragma once
#include "sim/SimTime.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace quillon::sim {

// Bytes on a serial line move at a fixed rate: baud / 10 bytes a second
// (8 data bits, a start and a stop bit).  A run of bytes starts when the
// first of them moves; a quiet line starts a new run, so silence is not
// made up for by a rush.
class LinePace {
public:
    // bytesPerSecond 0: no limit.
    explicit LinePace(unsigned bytesPerSecond) : bytesPerSecond_(bytesPerSecond) {}

    // How many of max bytes may move by now (at least one byte each time a
    // byte is due).
    std::size_t Allowance(SimTime now, std::size_t max);
    void Moved(std::size_t count) { moved_ += count; }
    // When the next byte is due; nullopt when no run is under way.
    std::optional<SimTime> NextByteAt() const;
    void Restart() { runStart_.reset(); }

private:
    unsigned bytesPerSecond_;
    std::optional<SimTime> runStart_;
    std::uint64_t moved_ = 0;
};

}  // namespace quillon::sim
