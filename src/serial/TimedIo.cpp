#include "serial/TimedIo.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace quillon {

namespace {

using Clock = std::chrono::steady_clock;

int64_t MsSince(Clock::time_point then)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - then).count();
}

bool Bad(short revents)
{
    return revents & (POLLHUP | POLLERR | POLLNVAL);
}

}  // namespace

TimedIoResult ReadWithin(int fd, int stopFd, void* buffer, uint32_t count, const CommTimeouts& timeouts)
{
    auto* target = static_cast<unsigned char*>(buffer);
    TimedIoResult result;
    const auto start = Clock::now();
    auto lastByte = start;
    while (result.count < count) {
        const ssize_t n = ::read(fd, target + result.count, count - result.count);
        if (n > 0) {
            result.count += static_cast<uint32_t>(n);
            lastByte = Clock::now();
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || errno != EAGAIN) {
            // End of file or an I/O error on a tty: the device is gone.
            result.lost = true;
            break;
        }
        const int wait = ReadWaitMs(timeouts, count, MsSince(start), result.count ? MsSince(lastByte) : -1);
        if (wait == 0)
            break;
        pollfd fds[] = {{fd, POLLIN, 0}, {stopFd, POLLIN, 0}};
        ::poll(fds, 2, wait);
        if (fds[1].revents) {
            result.stopped = true;
            break;
        }
        if (Bad(fds[0].revents) && !(fds[0].revents & POLLIN)) {
            result.lost = true;
            break;
        }
    }
    return result;
}

TimedIoResult WriteWithin(int fd, int stopFd, const void* bytes, uint32_t count, int64_t budgetMs)
{
    auto* source = static_cast<const unsigned char*>(bytes);
    TimedIoResult result;
    const auto start = Clock::now();
    while (result.count < count) {
        const ssize_t n = ::write(fd, source + result.count, count - result.count);
        if (n > 0) {
            result.count += static_cast<uint32_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || errno != EAGAIN) {
            result.lost = true;
            break;
        }
        const int64_t left = budgetMs - MsSince(start);
        if (left <= 0)
            break;
        pollfd fds[] = {{fd, POLLOUT, 0}, {stopFd, POLLIN, 0}};
        ::poll(fds, 2, static_cast<int>(left));
        if (fds[1].revents) {
            result.stopped = true;
            break;
        }
        if (Bad(fds[0].revents)) {
            result.lost = true;
            break;
        }
    }
    return result;
}

}  // namespace quillon
