#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "serial/HardwarePorts.h"

namespace quillon {

// One device as discovery sees it: where it is and the friendly name that
// carries its COM number, e.g. "FTDI FT232R USB UART (COM3)".
struct PortCandidate {
    std::string devicePath;
    std::string friendlyName;
};

struct PortEntry {
    int number;
    std::string devicePath;
    std::string friendlyName;
};

constexpr size_t kMaxDiscoveredPorts = 20;

// The COM number a friendly name carries: the name must contain "(COM",
// and the text after its first "(" (cut at its first ")") must read as
// COMn with n in 1..1024.  None otherwise.
std::optional<int> PortNumberFromFriendlyName(std::string_view name);

// The discovery rules: the first 20 candidates (in enumeration order) whose
// friendly names carry a number, each number once, sorted ascending.
std::vector<PortEntry> SelectPorts(const std::vector<PortCandidate>& candidates);

// The present ports, in enumeration order: links of the port-link folder
// whose targets exist (friendly name: the link target), then the hardware
// ports numbered through the port map, which is saved when a new device got
// a number.  A link hides the hardware port of the same number.
std::vector<PortCandidate> EnumeratePortCandidates(const std::vector<HardwarePort>& hardware);
// The same over the hardware ports present now.
std::vector<PortCandidate> EnumeratePortCandidates();

// SelectPorts over the present ports.
std::vector<PortEntry> DiscoverPorts();

// A present port as a script sees it: its COM number, device path, the
// adapter's description ("" for a link) and a name that follows the device
// from socket to socket: its /dev/serial/by-id path, else its USB serial
// number, else "".
struct PortDescription {
    int number;
    std::string devicePath;
    std::string description;
    std::string identity;
};
std::vector<PortDescription> DescribePorts(const std::vector<PortEntry>& ports,
                                           const std::vector<HardwarePort>& hardware);
std::vector<PortDescription> DescribePorts();

// The hardware port whose USB serial number or device path (by any of its
// names: a /dev/serial/by-id link is the same device) is `name`.
std::optional<HardwarePort> FindHardwarePort(const std::vector<HardwarePort>& hardware, const std::string& name);

// "COMn" for each present port, in enumeration order (the firmware
// download dialog's listing).
std::vector<std::string> ListPortNames();

// The device path of COMn: its link if there is one, else the hardware port
// the map gave that number.  None when neither exists.
std::optional<std::string> ResolvePortPath(int number);

}  // namespace quillon
