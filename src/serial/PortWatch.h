#pragma once
#include <QObject>

#include <functional>

#include "serial/HotplugRules.h"
#include "serial/LinkFolderWatch.h"
#include "serial/UdevMonitor.h"

class QSocketNotifier;

namespace quillon {

// Serial devices plugged and unplugged, for the window and the port dialog:
// a udev monitor and the port-link folder under socket notifiers, deciding
// through HotplugRules.
class PortWatch : public QObject {
    Q_OBJECT
public:
    using Now = std::function<HotplugRules::Clock::time_point()>;

    explicit PortWatch(QObject* parent = nullptr, Now now = &HotplugRules::Clock::now,
                       HotplugRules::Exists exists = DefaultExists);

    // COMn is now connected: watch its identity.
    void Connected(int port);
    // The operator disconnected: forget the port, offer nothing.
    void Disconnected();
    // Looks again, e.g. when the channel reported a port failure.
    void Recheck();

    static bool DefaultExists(const std::string& identity);

signals:
    // A device came or went; the list of ports may differ.
    void portsChanged();
    // The connected port's device went away.
    void portVanished(int port);
    // The device that went away came back within a minute.
    void portReturned(int port);

private:
    void OnUdev();
    void OnLinks();
    void Report(const HotplugRules::Outcome& outcome);

    Now now_;
    HotplugRules rules_;
    UdevMonitor udev_;
    LinkFolderWatch links_;
};

}  // namespace quillon
