#include "serial/HotplugWatch.h"

#include <filesystem>

namespace quillon {

HotplugWatch::HotplugWatch(HotplugRules::Exists exists) : rules_(std::move(exists))
{
}

bool HotplugWatch::PathExists(const std::string& identity)
{
    std::error_code error;
    return std::filesystem::exists(identity, error);
}

HotplugRules::Outcome HotplugWatch::ReadUdev(Clock::time_point now)
{
    HotplugRules::Outcome merged;
    while (const auto event = udev_.Receive()) {
        const auto outcome = rules_.Consider(*event, now);
        merged.portListChanged = merged.portListChanged || outcome.portListChanged;
        if (outcome.vanished)
            merged.vanished = outcome.vanished;
        if (outcome.returned)
            merged.returned = outcome.returned;
    }
    return merged;
}

HotplugRules::Outcome HotplugWatch::ReadLinks(Clock::time_point now)
{
    if (!links_.Drain())
        return {};
    auto outcome = rules_.Recheck(now);
    outcome.portListChanged = true;
    return outcome;
}

}  // namespace quillon
