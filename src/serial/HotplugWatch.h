#pragma once
#include "serial/HotplugRules.h"
#include "serial/LinkFolderWatch.h"
#include "serial/UdevMonitor.h"

namespace quillon {

// Where news of devices plugged and unplugged comes from (udev, the
// port-link folder and /dev/pts) together with the rules that judge it.
// The owner waits until a descriptor is readable, through a socket
// notifier or poll(), and then reads that source; reading never blocks.
class HotplugWatch {
public:
    using Clock = HotplugRules::Clock;

    explicit HotplugWatch(HotplugRules::Exists exists);

    // -1 when the source cannot be listened to.
    int UdevFd() const { return udev_.Fd(); }
    int LinksFd() const { return links_.Fd(); }

    // Everything udev announced since the last read, as one outcome.
    HotplugRules::Outcome ReadUdev(Clock::time_point now);
    // A link or a pseudo-terminal came or went.
    HotplugRules::Outcome ReadLinks(Clock::time_point now);

    HotplugRules& Rules() { return rules_; }

    static bool PathExists(const std::string& identity);

private:
    HotplugRules rules_;
    UdevMonitor udev_;
    LinkFolderWatch links_;
};

}  // namespace quillon
