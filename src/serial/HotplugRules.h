#pragma once
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

// One event of udev's tty subsystem, copied out of the monitor.
struct UdevEvent {
    std::string action;              // add, remove, change, move, bind, unbind
    std::string node;                // DEVNAME; empty for a device without one
    std::vector<std::string> links;  // DEVLINKS, e.g. /dev/serial/by-id/...
};

// Whether the event can change the list of ports: a device node came, went
// or was renamed.  udev also reports attribute changes and driver binds of
// the same device, which change nothing the operator sees.
bool ChangesPortList(const UdevEvent& event);

// The stable identity of COMn, a path that exists while the device is
// there: its link in the port-link folder (a link keeps its name when the
// line behind it is replaced), else the identity the port map gave that
// number (/dev/serial/by-id/..., which carries the serial number).  Empty
// when COMn names nothing.
std::string PortIdentity(int number);

// What happens to the connected port as devices come and go: its identity
// gone means the device was unplugged; the same identity back within a
// minute means it was plugged in again and may be reconnected.  The clock
// is passed in, so the minute is decided without waiting for it.
class HotplugRules {
public:
    using Clock = std::chrono::steady_clock;
    // Whether the identity's path exists now.
    using Exists = std::function<bool(const std::string& identity)>;
    static constexpr Clock::duration kReturnWindow = std::chrono::minutes(1);

    struct Outcome {
        bool portListChanged = false;
        std::optional<int> vanished;  // the connected COMn went away
        std::optional<int> returned;  // the COMn that went away is back in time
    };

    explicit HotplugRules(Exists exists);

    // The port now connected and its identity; an empty identity is not
    // watched.
    void Connected(int port, std::string identity);
    // The operator disconnected: nothing is watched or remembered.
    void Disconnected();

    // A udev event arrived.
    Outcome Consider(const UdevEvent& event, Clock::time_point now);
    // Something else may have changed presence (a port link, a
    // pseudo-terminal, a port failure the channel saw): looks again.
    Outcome Recheck(Clock::time_point now);

private:
    struct Watched {
        int port;
        std::string identity;
        std::optional<Clock::time_point> vanishedAt;  // set while gone
    };

    Exists exists_;
    std::optional<Watched> watched_;
};

}  // namespace quillon
