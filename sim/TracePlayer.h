#pragma once
#include "serial/WireTraceReader.h"
#include "sim/FrameReader.h"
#include "sim/OutputQueue.h"
#include "sim/SimTime.h"

#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quillon::sim {

// Plays the device's side of a wire trace of one port.  Each frame the tool
// sends must be the trace's next one; the bytes the device sent after it
// (up to the tool's next frame) go out with their recorded delays, counted
// from the moment the frame arrived (at once when unpaced).  Bytes the
// device sent before the tool's first frame count from the port's opening.
// A frame the trace does not have next is reported and counted; the trace
// stays where it was, so that a frame the tool sent too many does not spoil
// the rest.  Like Device it knows no descriptors: time passes in.
class TracePlayer {
public:
    using Log = std::function<void(const std::string&)>;
    // A frame that differs from the trace is taken to be whole once the tool
    // has been quiet this long.
    static constexpr Millis kFrameQuiet{500};

    // records: those of one port, in order.
    TracePlayer(std::vector<WireRecord> records, OutputQueue& out, bool paced, Log report);

    void PortOpened(SimTime now);
    void PortClosed(SimTime now);
    void Receive(std::span<const std::uint8_t> bytes, SimTime now);
    void Tick(SimTime now);
    std::optional<SimTime> NextDeadline() const;

    // Every record played and the port closed again.
    bool Finished() const { return cursor_ == records_.size() && !open_ && due_.empty(); }
    unsigned Differences() const { return differences_; }

private:
    struct Due {
        SimTime at;
        const Bytes* bytes;
    };
    // The record at the cursor happened now: the device's bytes that follow
    // it are due from here.
    void Anchor(SimTime now);
    void Match(SimTime now);
    // What the tool sent so far, as one frame.
    void ReportUnexpected();
    void Report(const Bytes& frame);
    std::string NextFrameText() const;

    std::vector<WireRecord> records_;
    OutputQueue& out_;
    bool paced_;
    Log report_;
    std::size_t cursor_ = 0;
    std::deque<Due> due_;
    Bytes pending_;  // from the tool, not yet matched
    SimTime lastInput_{};
    bool open_ = false;
    unsigned differences_ = 0;
};

// The records of one port ("COM9") of a trace.
std::vector<WireRecord> RecordsOfPort(const WireTrace& trace, const std::string& port);

}  // namespace quillon::sim
