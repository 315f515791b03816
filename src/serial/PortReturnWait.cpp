#include "serial/PortReturnWait.h"

#include <poll.h>

#include <algorithm>

namespace quillon {

PortReturnWait::PortReturnWait(int port, Now now, HotplugRules::Exists exists)
    : port_(port),
      now_(std::move(now)),
      identity_(PortIdentity(port)),
      watch_(std::move(exists))
{
    watch_.Rules().Connected(port_, identity_);
}

void PortReturnWait::Lost()
{
    lostAt_ = now_();
    watch_.Rules().Recheck(lostAt_);
}

PortReturnWait::Result PortReturnWait::Wait(Clock::time_point until)
{
    pollfd fds[] = {{watch_.UdevFd(), POLLIN, 0}, {watch_.LinksFd(), POLLIN, 0}};
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - now_()).count();
    const int timeout = static_cast<int>(std::clamp<decltype(left)>(left, 0, 60'000));
    if (::poll(fds, 2, timeout) > 0) {
        const auto now = now_();
        const bool returned = (fds[0].revents & POLLIN && watch_.ReadUdev(now).returned) ||
                              (fds[1].revents & POLLIN && watch_.ReadLinks(now).returned);
        if (returned) {
            watch_.Rules().Connected(port_, identity_);
            return Result::Returned;
        }
    }
    return now_() - lostAt_ > HotplugRules::kReturnWindow ? Result::TooLate : Result::Waiting;
}

}  // namespace quillon
