#pragma once
#include <optional>
#include <string>
#include <vector>

#include "serial/TtyDevices.h"

namespace quillon {

// A serial device that is present now.
struct HardwarePort {
    std::string identity;      // /dev/serial/by-id/... else by-path/... else the node
    std::string devicePath;    // the device node, e.g. /dev/ttyUSB0
    std::string description;   // vendor and model, e.g. "FTDI FT232R USB UART"
    std::string serialNumber;  // the USB serial number; empty when the device has none
};

// The port a tty device is, or none when it is no serial port that is
// really there: virtual terminals, the console, UART slots without a chip.
std::optional<HardwarePort> HardwarePortOf(const TtyDevice& device);

// USB serial and ACM devices, and built-in UARTs whose driver reports real
// hardware, in udev's enumeration order.
std::vector<HardwarePort> EnumerateHardwarePorts();

}  // namespace quillon
