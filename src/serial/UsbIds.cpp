#include "serial/UsbIds.h"

#include <libudev.h>
#include <sys/stat.h>

#include <memory>

namespace quillon {

std::optional<UsbId> UsbIdOf(const std::string& path)
{
    struct stat node {};
    if (::stat(path.c_str(), &node) != 0 || !S_ISCHR(node.st_mode))
        return std::nullopt;
    std::unique_ptr<udev, decltype(&udev_unref)> context(udev_new(), &udev_unref);
    if (!context)
        return std::nullopt;
    std::unique_ptr<udev_device, decltype(&udev_device_unref)> device(
        udev_device_new_from_devnum(context.get(), 'c', node.st_rdev), &udev_device_unref);
    if (!device)
        return std::nullopt;
    const char* vendor = udev_device_get_property_value(device.get(), "ID_VENDOR_ID");
    const char* product = udev_device_get_property_value(device.get(), "ID_MODEL_ID");
    if (!vendor || !product)
        return std::nullopt;
    return UsbId{vendor, product};
}

}  // namespace quillon
