#pragma once
#include "sim/LinePace.h"
#include "sim/SimTime.h"
#include "sim/WireFormat.h"

#include <deque>
#include <optional>

namespace quillon::sim {

// Bytes waiting to go out to the line, with pauses between them, written at
// the line's speed: a real port at 115200 baud moves 11,520 bytes a second,
// and the tool's progress displays only move as they do on hardware when the
// simulator keeps to that.
class OutputQueue {
public:
    struct Segment {
        enum Kind { Data, Pause, Noise } kind = Data;
        Bytes bytes;              // Data
        Millis pause{0};          // Pause
        std::uint64_t noise = 0;  // Noise: bytes still to make up
    };

    // bytesPerSecond 0: as fast as the reader takes them.
    explicit OutputQueue(unsigned bytesPerSecond) : pace_(bytesPerSecond) {}

    void Append(const Bytes& bytes);
    void AppendPause(Millis pause);
    // Pseudo-random bytes, made up as they are written so that a flood of
    // megabytes costs no memory.
    void AppendNoise(std::uint64_t count);
    void Clear();
    bool Empty() const { return segments_.empty(); }
    const std::deque<Segment>& Segments() const { return segments_; }

    enum class PumpResult { Idle, Waiting, Blocked, Failed };
    // Writes to fd what the pace allows by now.  Waiting: more is due later
    // (see NextWake); Blocked: fd takes no more for now; Failed: fd is gone.
    PumpResult Pump(int fd, SimTime now);
    // When Pump next has something to write, if it is waiting on the clock.
    std::optional<SimTime> NextWake() const { return wake_; }

    // All bytes still queued, pauses dropped and noise made up; the queue is
    // left empty.  For callers that drive the device without a line.
    Bytes TakeAll();

private:
    // Up to max bytes of the front segment, made up if it is noise.
    Bytes Peek(std::size_t max);
    void Consume(std::size_t count);

    LinePace pace_;
    std::deque<Segment> segments_;
    std::optional<SimTime> wake_;
    std::optional<SimTime> pauseEnd_;
    std::uint32_t noiseState_ = 0x2545F491;
};

}  // namespace quillon::sim
