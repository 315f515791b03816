#include "serial/PortWatch.h"

#include <QSocketNotifier>

#include <filesystem>

namespace quillon {

PortWatch::PortWatch(QObject* parent, Now now, HotplugRules::Exists exists)
    : QObject(parent), now_(std::move(now)), rules_(std::move(exists))
{
    if (udev_.Fd() >= 0) {
        auto* notifier = new QSocketNotifier(udev_.Fd(), QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, &PortWatch::OnUdev);
    }
    if (links_.Fd() >= 0) {
        auto* notifier = new QSocketNotifier(links_.Fd(), QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, &PortWatch::OnLinks);
    }
}

bool PortWatch::DefaultExists(const std::string& identity)
{
    std::error_code error;
    return std::filesystem::exists(identity, error);
}

void PortWatch::Connected(int port)
{
    rules_.Connected(port, PortIdentity(port));
}

void PortWatch::Disconnected()
{
    rules_.Disconnected();
}

void PortWatch::Recheck()
{
    Report(rules_.Recheck(now_()));
}

void PortWatch::OnUdev()
{
    while (const auto event = udev_.Receive())
        Report(rules_.Consider(*event, now_()));
}

void PortWatch::OnLinks()
{
    if (!links_.Drain())
        return;
    auto outcome = rules_.Recheck(now_());
    outcome.portListChanged = true;
    Report(outcome);
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
