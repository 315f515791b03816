#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

// What udev knows about one device of the tty subsystem, copied out so that
// the choice of ports is made (and can be tested) apart from udev.
struct TtyDevice {
    std::string sysname;                  // e.g. ttyUSB0
    std::string node;                     // e.g. /dev/ttyUSB0; empty when none
    std::string parentDriver;             // driver of the nearest bus device; empty when none
    std::optional<std::string> uartType;  // the "type" attribute, where sysfs has one
    std::vector<std::string> links;       // udev's symbolic links to the node
    std::map<std::string, std::string> properties;
};

// Every device of the tty subsystem, in udev's enumeration order; empty
// when udev cannot be asked.
std::vector<TtyDevice> ReadTtyDevices();

}  // namespace quillon
