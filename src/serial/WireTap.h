#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace quillon {

// What passed on a line, as a port reports it to whoever watches the wire.
struct WireEvent {
    enum Kind { Opened, Closed, Sent, Received };
    Kind kind = Sent;
    std::string_view port;  // "COM9", or the path a port was named by
    unsigned baud = 0;
    int route = -1;                       // the reply route in effect (-1: none)
    std::span<const std::uint8_t> bytes;  // Sent and Received
};

class IWireObserver {
public:
    virtual ~IWireObserver() = default;
    // Called on whichever thread moved the bytes (the owner's for writes, a
    // channel worker's for reads): implementations lock for themselves.
    virtual void OnWire(const WireEvent& event) = 0;
};

// The one place every port of the process reports its traffic to: a trace
// is switched on for the whole program (--trace, QUILLON_TRACE, the window's
// menu) without the ports being told.  Reporting costs one atomic load while
// nothing watches.
class WireTap {
public:
    // Replaces the observer; nullptr stops watching.  An observer being
    // called keeps living until its call returns.
    static void Install(std::shared_ptr<IWireObserver> observer);
    static bool Watching();
    static void Report(const WireEvent& event);
};

}  // namespace quillon
