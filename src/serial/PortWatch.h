#pragma once
#include <QObject>

#include <functional>

#include "serial/HotplugWatch.h"

class QSocketNotifier;

namespace quillon {

// Serial devices plugged and unplugged, for the window and the port dialog:
// the hot-plug sources under socket notifiers.
class PortWatch : public QObject {
    Q_OBJECT
public:
    using Now = std::function<HotplugRules::Clock::time_point()>;

    explicit PortWatch(QObject* parent = nullptr, Now now = &HotplugRules::Clock::now,
                       HotplugRules::Exists exists = &HotplugWatch::PathExists);

    // COMn is now connected: watch its identity.
    void Connected(int port);
    // The operator disconnected: forget the port, offer nothing.
    void Disconnected();
    // Looks again, e.g. when the channel reported a port failure.
    void Recheck();

signals:
    // A device came or went; the list of ports may differ.
    void portsChanged();
    // The connected port's device went away.
    void portVanished(int port);
    // The device that went away came back within a minute.
    void portReturned(int port);

private:
    void Report(const HotplugRules::Outcome& outcome);

    Now now_;
    HotplugWatch watch_;
};

}  // namespace quillon
