#include "serial/PortWatch.h"

#include <QSocketNotifier>

namespace quillon {

PortWatch::PortWatch(QObject* parent, Now now, HotplugRules::Exists exists)
    : QObject(parent),
      now_(std::move(now)),
      watch_(std::move(exists))
{
    if (watch_.UdevFd() >= 0) {
        auto* notifier = new QSocketNotifier(watch_.UdevFd(), QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [this] { Report(watch_.ReadUdev(now_())); });
    }
    if (watch_.LinksFd() >= 0) {
        auto* notifier = new QSocketNotifier(watch_.LinksFd(), QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [this] { Report(watch_.ReadLinks(now_())); });
    }
}

void PortWatch::Connected(int port)
{
    watch_.Rules().Connected(port, PortIdentity(port));
}

void PortWatch::Disconnected()
{
    watch_.Rules().Disconnected();
}

void PortWatch::Recheck()
{
    Report(watch_.Rules().Recheck(now_()));
}

void PortWatch::Report(const HotplugRules::Outcome& outcome)
{
    if (outcome.portListChanged)
        emit portsChanged();
    if (outcome.vanished)
        emit portVanished(*outcome.vanished);
    if (outcome.returned)
        emit portReturned(*outcome.returned);
}

}  // namespace quillon
