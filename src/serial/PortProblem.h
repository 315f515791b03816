#pragma once
#include <optional>
#include <string>
#include <vector>

namespace quillon {

// A process that has the device open.
struct PortHolder {
    int pid;
    std::string program;  // /proc/PID/comm
};

// The USB vendor and product IDs of a device, four hex digits each.
struct UsbId {
    std::string vendor;
    std::string product;
};

// What the system says about a device that could not be opened; gathered
// apart from the wording so that each explanation can be checked from
// recorded facts.
struct PortFacts {
    std::string devicePath;           // empty: the port names no device
    int error = 0;                    // errno of the failed open
    std::string owner;                // user owning the device node
    std::string group;                // its group
    bool groupMayOpen = false;        // the group has read and write permission
    std::vector<PortHolder> holders;  // other processes with the device open
    bool modemManagerRunning = false;
    std::optional<UsbId> usb;
};

// The processes other than this one that have the character device open,
// found by the device number of their /proc/PID/fd entries.  An ordinary
// user sees only processes of their own.
std::vector<PortHolder> FindPortHolders(const std::string& devicePath);

// Looks up what the explanation of `error` needs: ownership for a refused
// permission; holders, ModemManager and the USB IDs for a busy port.
PortFacts GatherPortFacts(const std::string& devicePath, int error);

// The explanation, in the program's language, with commands as they are to
// be typed; shown below the fixed failure message.
std::string ExplainPortProblem(const PortFacts& facts);

}  // namespace quillon
