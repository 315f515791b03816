#include "serial/HardwarePorts.h"

#include <libudev.h>

#include <memory>
#include <string_view>

namespace quillon {

namespace {

using Udev = std::unique_ptr<udev, decltype(&udev_unref)>;
using Enumerate = std::unique_ptr<udev_enumerate, decltype(&udev_enumerate_unref)>;
using Device = std::unique_ptr<udev_device, decltype(&udev_device_unref)>;

std::string Property(udev_device* device, const char* name)
{
    const char* value = udev_device_get_property_value(device, name);
    return value ? value : "";
}

// The 8250 driver registers a ttyS node for every UART slot whether or not
// a chip sits there; only the port type the driver found (0: unknown) tells
// them apart, and sysfs shows it without opening the port.
bool UartPresent(udev_device* device)
{
    const char* type = udev_device_get_sysattr_value(device, "type");
    return type && std::string_view(type) != "0";
}

bool IsRealPort(udev_device* device)
{
    udev_device* parent = udev_device_get_parent(device);
    if (!parent || !udev_device_get_driver(parent))
        return false;  // virtual terminals and the console have no bus device
    const std::string_view driver = udev_device_get_driver(parent);
    if (driver == "serial8250" || driver == "serial" || driver == "port")
        return UartPresent(device);
    return true;
}

std::string StableIdentity(udev_device* device, const char* node)
{
    std::string byPath;
    for (auto* entry = udev_device_get_devlinks_list_entry(device); entry;
         entry = udev_list_entry_get_next(entry)) {
        const std::string_view link = udev_list_entry_get_name(entry);
        if (link.starts_with("/dev/serial/by-id/"))
            return std::string(link);
        if (link.starts_with("/dev/serial/by-path/") && byPath.empty())
            byPath = link;
    }
    return byPath.empty() ? node : byPath;
}

std::string Description(udev_device* device)
{
    auto pick = [device](const char* fromDatabase, const char* encoded) {
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
    if (text.empty())
        text = udev_device_get_sysname(device);
    return text;
}

}  // namespace

std::vector<HardwarePort> EnumerateHardwarePorts()
{
    std::vector<HardwarePort> ports;
    Udev context(udev_new(), &udev_unref);
    if (!context)
        return ports;
    Enumerate enumerate(udev_enumerate_new(context.get()), &udev_enumerate_unref);
    if (!enumerate)
        return ports;
    udev_enumerate_add_match_subsystem(enumerate.get(), "tty");
    udev_enumerate_scan_devices(enumerate.get());
    for (auto* entry = udev_enumerate_get_list_entry(enumerate.get()); entry;
         entry = udev_list_entry_get_next(entry)) {
        Device device(udev_device_new_from_syspath(context.get(), udev_list_entry_get_name(entry)),
                      &udev_device_unref);
        if (!device)
            continue;
        const char* node = udev_device_get_devnode(device.get());
        if (!node || !IsRealPort(device.get()))
            continue;
        ports.push_back({StableIdentity(device.get(), node), node, Description(device.get())});
    }
    return ports;
}

}  // namespace quillon
