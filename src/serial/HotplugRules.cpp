#include "serial/HotplugRules.h"

#include <filesystem>

#include "serial/PortLinks.h"
#include "serial/PortMap.h"

namespace quillon {

namespace fs = std::filesystem;

bool ChangesPortList(const UdevEvent& event)
{
    return !event.node.empty() && (event.action == "add" || event.action == "remove" || event.action == "move");
}

std::string PortIdentity(int number)
{
    const fs::path link = fs::path(PortLinkFolder()) / PortName(number);
    std::error_code error;
    if (fs::is_symlink(link, error))
        return link.string();
    CPortMap map;
    map.Load();
    return map.IdentityOf(number).value_or("");
}

HotplugRules::HotplugRules(Exists exists) : exists_(std::move(exists))
{
}

void HotplugRules::Connected(int port, std::string identity)
{
    watched_.reset();
    if (!identity.empty())
        watched_ = Watched{port, std::move(identity), std::nullopt};
}

void HotplugRules::Disconnected()
{
    watched_.reset();
}

HotplugRules::Outcome HotplugRules::Consider(const UdevEvent& event, Clock::time_point now)
{
    if (!ChangesPortList(event))
        return {};
    Outcome outcome = Recheck(now);
    outcome.portListChanged = true;
    return outcome;
}

HotplugRules::Outcome HotplugRules::Recheck(Clock::time_point now)
{
    Outcome outcome;
    if (!watched_)
        return outcome;
    const bool present = exists_(watched_->identity);
    if (!watched_->vanishedAt) {
        if (!present) {
            watched_->vanishedAt = now;
            outcome.vanished = watched_->port;
        }
    } else if (now - *watched_->vanishedAt > kReturnWindow) {
        watched_.reset();  // too late: a device plugged in later is a new start
    } else if (present) {
        outcome.returned = watched_->port;
        watched_.reset();  // offered once; reconnecting watches it afresh
    }
    return outcome;
}

}  // namespace quillon
