#pragma once
#include <memory>
#include <optional>

#include "serial/HotplugRules.h"

struct udev;
struct udev_monitor;

namespace quillon {

// udev's announcements of tty devices that come and go.  It listens to
// udev rather than to the kernel, so a device's /dev/serial links exist
// (or are gone) by the time its event is read.  Fd() is readable when
// events wait; Receive() never blocks.
class UdevMonitor {
public:
    UdevMonitor();
    ~UdevMonitor();
    UdevMonitor(const UdevMonitor&) = delete;
    UdevMonitor& operator=(const UdevMonitor&) = delete;

    // -1 when udev cannot be listened to (no netlink in this sandbox).
    int Fd() const;
    // The next waiting event; none when nothing waits.
    std::optional<UdevEvent> Receive();

private:
    std::unique_ptr<udev, udev* (*)(udev*)> context_;
    std::unique_ptr<udev_monitor, udev_monitor* (*)(udev_monitor*)> monitor_;
};

}  // namespace quillon
