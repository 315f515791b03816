#include "serial/TimedIo.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace quillon {

namespace {

// Moves bytes with `transfer(done)` (a read() or write() of the rest) until
// `count` have moved, waiting in poll() for `event` in between for as long
// as `waitMs(done)` allows.
template <typename Transfer, typename WaitMs>
TimedIoResult Pump(int fd, short event, int stopFd, uint32_t count, Transfer transfer, WaitMs waitMs)
{
    TimedIoResult result;
    while (result.count < count) {
        const ssize_t n = transfer(result.count);
        if (n > 0) {
            result.count += static_cast<uint32_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || errno != EAGAIN) {
            // End of file or an I/O error on a tty: the device is gone.
            result.lost = true;
            break;
        }
        const int64_t wait = waitMs(result.count);
        if (wait <= 0)
            break;
        pollfd fds[] = {{fd, event, 0}, {stopFd, POLLIN, 0}};
        ::poll(fds, 2, static_cast<int>(wait));
        if (fds[1].revents) {
            result.stopped = true;
            break;
        }
        if (PollFailed(fds[0].revents) && !(fds[0].revents & event)) {
            result.lost = true;
            break;
        }
    }
    return result;
}

}  // namespace

int64_t MsSince(std::chrono::steady_clock::time_point then)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - then).count();
}

bool PollFailed(short revents)
{
    return revents & (POLLHUP | POLLERR | POLLNVAL);
}

TimedIoResult ReadWithin(int fd, int stopFd, void* buffer, uint32_t count, const CommTimeouts& timeouts)
{
    auto* target = static_cast<unsigned char*>(buffer);
    const auto start = std::chrono::steady_clock::now();
    auto lastByte = start;
    uint32_t seen = 0;
    return Pump(
        fd, POLLIN, stopFd, count, [&](uint32_t done) { return ::read(fd, target + done, count - done); },
        [&](uint32_t done) {
            if (done != seen) {
                seen = done;
                lastByte = std::chrono::steady_clock::now();
            }
            return int64_t{ReadWaitMs(timeouts, count, MsSince(start), done ? MsSince(lastByte) : -1)};
        });
}

TimedIoResult WriteWithin(int fd, int stopFd, const void* bytes, uint32_t count, int64_t budgetMs)
{
    auto* source = static_cast<const unsigned char*>(bytes);
    const auto start = std::chrono::steady_clock::now();
    return Pump(
        fd, POLLOUT, stopFd, count, [&](uint32_t done) { return ::write(fd, source + done, count - done); },
        [&](uint32_t) { return budgetMs - MsSince(start); });
}

}  // namespace quillon
