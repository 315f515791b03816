#include "serial/TtyDevices.h"

#include <libudev.h>

#include <memory>

namespace quillon {

namespace {

using Udev = std::unique_ptr<udev, decltype(&udev_unref)>;
using Enumerate = std::unique_ptr<udev_enumerate, decltype(&udev_enumerate_unref)>;
using Device = std::unique_ptr<udev_device, decltype(&udev_device_unref)>;

std::string Text(const char* value)
{
    return value ? value : "";
}

TtyDevice Record(udev_device* device)
{
    TtyDevice record;
    record.sysname = Text(udev_device_get_sysname(device));
    record.node = Text(udev_device_get_devnode(device));
    if (udev_device* parent = udev_device_get_parent(device))
        record.parentDriver = Text(udev_device_get_driver(parent));
    if (const char* type = udev_device_get_sysattr_value(device, "type"))
        record.uartType = type;
    for (auto* entry = udev_device_get_devlinks_list_entry(device); entry; entry = udev_list_entry_get_next(entry))
        record.links.emplace_back(udev_list_entry_get_name(entry));
    for (auto* entry = udev_device_get_properties_list_entry(device); entry; entry = udev_list_entry_get_next(entry))
        record.properties[udev_list_entry_get_name(entry)] = Text(udev_list_entry_get_value(entry));
    return record;
}

}  // namespace

std::vector<TtyDevice> ReadTtyDevices()
{
    std::vector<TtyDevice> devices;
    Udev context(udev_new(), &udev_unref);
    if (!context)
        return devices;
    Enumerate enumerate(udev_enumerate_new(context.get()), &udev_enumerate_unref);
    if (!enumerate)
        return devices;
    udev_enumerate_add_match_subsystem(enumerate.get(), "tty");
    udev_enumerate_scan_devices(enumerate.get());
    for (auto* entry = udev_enumerate_get_list_entry(enumerate.get()); entry; entry = udev_list_entry_get_next(entry)) {
        Device device(udev_device_new_from_syspath(context.get(), udev_list_entry_get_name(entry)), &udev_device_unref);
        if (device)
            devices.push_back(Record(device.get()));
    }
    return devices;
}

}  // namespace quillon
