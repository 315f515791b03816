#include "serial/HardwarePorts.h"

#include <string_view>

namespace quillon {

namespace {

std::string Property(const TtyDevice& device, const char* name)
{
    const auto found = device.properties.find(name);
    return found == device.properties.end() ? "" : found->second;
}

// The 8250 driver registers a ttyS node for every UART slot whether or not
// a chip sits there; only the port type the driver found (0: unknown) tells
// them apart, and sysfs shows it without opening the port.
bool IsRealPort(const TtyDevice& device)
{
    if (device.node.empty() || device.parentDriver.empty())
        return false;  // virtual terminals and the console have no bus device
    const std::string_view driver = device.parentDriver;
    if (driver == "serial8250" || driver == "serial" || driver == "port")
        return device.uartType && *device.uartType != "0";
    return true;
}

// The by-id name carries the serial number, so it follows the device from
// socket to socket.  A device without a serial number shares its by-id
// name with every other of its make, so its socket (by-path) tells it apart.
std::string StableIdentity(const TtyDevice& device)
{
    std::string byId, byPath;
    for (const std::string_view link : device.links) {
        if (link.starts_with("/dev/serial/by-id/") && byId.empty())
            byId = link;
        else if (link.starts_with("/dev/serial/by-path/") && byPath.empty())
            byPath = link;
    }
    const bool hasSerialNumber = !Property(device, "ID_SERIAL_SHORT").empty();
    if (!byId.empty() && (hasSerialNumber || byPath.empty()))
        return byId;
    return byPath.empty() ? device.node : byPath;
}

std::string Description(const TtyDevice& device)
{
    auto pick = [&device](const char* fromDatabase, const char* encoded) {
        std::string text = Property(device, fromDatabase);
        if (text.empty()) {
            text = Property(device, encoded);
            for (char& c : text) {
                if (c == '_')
                    c = ' ';
            }
        }
        return text;
    };
    std::string text = pick("ID_VENDOR_FROM_DATABASE", "ID_VENDOR");
    const std::string model = pick("ID_MODEL_FROM_DATABASE", "ID_MODEL");
    if (!model.empty())
        text += (text.empty() ? "" : " ") + model;
    return text.empty() ? device.sysname : text;
}

}  // namespace

std::optional<HardwarePort> HardwarePortOf(const TtyDevice& device)
{
    if (!IsRealPort(device))
        return std::nullopt;
    return HardwarePort{StableIdentity(device), device.node, Description(device), Property(device, "ID_SERIAL_SHORT")};
}

std::vector<HardwarePort> EnumerateHardwarePorts()
{
    std::vector<HardwarePort> ports;
    for (const auto& device : ReadTtyDevices()) {
        if (auto port = HardwarePortOf(device))
            ports.push_back(std::move(*port));
    }
    return ports;
}

}  // namespace quillon
