#include "serial/UdevMonitor.h"

#include <libudev.h>

namespace quillon {

namespace {
std::string Text(const char* value)
{
    return value ? value : "";
}
}  // namespace

UdevMonitor::UdevMonitor() : context_(udev_new(), &udev_unref), monitor_(nullptr, &udev_monitor_unref)
{
    if (!context_)
        return;
    monitor_.reset(udev_monitor_new_from_netlink(context_.get(), "udev"));
    if (monitor_ && (udev_monitor_filter_add_match_subsystem_devtype(monitor_.get(), "tty", nullptr) < 0 ||
                     udev_monitor_enable_receiving(monitor_.get()) < 0))
        monitor_.reset();
}

UdevMonitor::~UdevMonitor() = default;

int UdevMonitor::Fd() const
{
    return monitor_ ? udev_monitor_get_fd(monitor_.get()) : -1;
}

std::optional<UdevEvent> UdevMonitor::Receive()
{
    if (!monitor_)
        return std::nullopt;
    std::unique_ptr<udev_device, udev_device* (*)(udev_device*)> device(udev_monitor_receive_device(monitor_.get()),
                                                                        &udev_device_unref);
    if (!device)
        return std::nullopt;
    UdevEvent event{Text(udev_device_get_action(device.get())), Text(udev_device_get_devnode(device.get())), {}};
    for (auto* entry = udev_device_get_devlinks_list_entry(device.get()); entry;
         entry = udev_list_entry_get_next(entry))
        event.links.emplace_back(udev_list_entry_get_name(entry));
    return event;
}

}  // namespace quillon
