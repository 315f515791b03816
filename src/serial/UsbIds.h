#pragma once
#include <optional>
#include <string>

#include "serial/PortProblem.h"

namespace quillon {

// The USB vendor and product IDs udev knows for the device node at `path`;
// none for a device that is not on USB or that udev does not know.
std::optional<UsbId> UsbIdOf(const std::string& path);

}  // namespace quillon
