#include "tools/StopSignal.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace quillon {

StopSignal::StopSignal() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
}

StopSignal::~StopSignal()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void StopSignal::Raise()
{
    raised_ = true;
    const std::uint64_t one = 1;
    [[maybe_unused]] auto ignored = ::write(fd_, &one, sizeof one);
}

bool StopSignal::Sleep(int ms) const
{
    pollfd fds[] = {{fd_, POLLIN, 0}};
    ::poll(fds, 1, ms);
    return !Raised();
}

}  // namespace quillon
