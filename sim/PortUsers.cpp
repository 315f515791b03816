#include "sim/PortUsers.h"

#include <cerrno>
#include <cstdint>
#include <sys/inotify.h>
#include <unistd.h>

namespace quillon::sim {

void PortUsers::Watch(const std::string& path)
{
    Stop();
    fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ >= 0 && inotify_add_watch(fd_, path.c_str(), IN_OPEN | IN_CLOSE) < 0)
        Stop();
}

void PortUsers::Stop()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    users_ = 0;
}

bool PortUsers::Update()
{
    const bool before = InUse();
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd_, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        for (const char* at = buffer; at < buffer + got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            if (event->mask & IN_OPEN)
                ++users_;
            if ((event->mask & IN_CLOSE) && users_ > 0)
                --users_;
            at += sizeof(inotify_event) + event->len;
        }
    }
    return InUse() != before;
}

}  // namespace quillon::sim
