#pragma once
#include "serial/PortDiscovery.h"

#include <string>
#include <vector>

namespace quillon::test {

// Discovered ports with these numbers, each a USB adapter of its own.
inline std::vector<PortEntry> UsbPortsNumbered(const std::vector<int>& numbers)
{
    std::vector<PortEntry> ports;
    for (const int n : numbers)
        ports.push_back(
            {n, "/dev/ttyUSB" + std::to_string(n), "Adapter " + std::to_string(n) + " (COM" + std::to_string(n) + ")"});
    return ports;
}

}  // namespace quillon::test
