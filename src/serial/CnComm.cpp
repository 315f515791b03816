#include "serial/CnComm.h"

#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <system_error>
#include <utility>

#include "serial/PortDiscovery.h"
#include "serial/PortLinks.h"
#include "serial/SerialLine.h"
#include "serial/TimedIo.h"

namespace quillon {

namespace {

using Clock = std::chrono::steady_clock;

void Drain(int eventFd)
{
    uint64_t value;
    [[maybe_unused]] auto ignored = ::read(eventFd, &value, sizeof value);
}

constexpr int kPauseMs = 10;      // lets a trickle of input gather into one read
constexpr int kLineWatchMs = 50;  // modem lines and error counters are polled
constexpr int kTransmitLoopMs = 200;
constexpr int kMaxPort = 1024;

}  // namespace

CnComm::CnComm()
{
    stopFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    for (int& fd : wakeFd_)
        fd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

CnComm::~CnComm()
{
    Shutdown(500);
    ::close(stopFd_);
    for (int fd : wakeFd_)
        ::close(fd);
    std::lock_guard lock(input_.Mutex());
    input_.ReleaseAll();
}

bool CnComm::OpenByNumber(int port, int baud)
{
    lastOpenError_ = EINVAL;
    if (port < 1 || port > kMaxPort)
        return false;
    const auto speed = MapSpeed(baud);
    if (!speed)
        return false;
    Shutdown(500);
    port_ = port;
    portName_ = PortName(port);
    const auto path = ResolvePortPath(port);
    devicePath_ = path.value_or("");
    lastOpenError_ = path ? 0 : ENOENT;
    if (!path || stopFd_ < 0 || wakeFd_[kEventWorker] < 0 || wakeFd_[kTransmitWorker] < 0)
        return false;
    fd_ = OpenSerialLine(*path);
    if (fd_ < 0) {
        lastOpenError_ = errno;
        return false;
    }
    if (!SetRaw8N1(fd_, *speed)) {
        lastOpenError_ = errno;
        Shutdown(500);
        return false;
    }
    timeouts_ = LineTimeouts();
    bitsPerSecond_ = speed->rate;
    PurgeLine(fd_, true, true);

    Drain(stopFd_);
    failed_ = false;
    failureReported_ = false;
    txPending_ = false;
    pendingErrors_ = 0;
    lastInput_.reset();
    const auto lines = ReadLineSnapshot(fd_);
    watchLines_ = lines.has_value();
    lines_ = lines.value_or(LineSnapshot{});

    if (!StartThreads()) {
        Shutdown(500);
        return false;
    }
    Trace(WireEvent::Opened);
    return true;
}

void CnComm::Shutdown(int /*waitMs*/)
{
    if (fd_ < 0)
        return;
    StopThreads();
    // What was handed over but never written goes with the port.
    pending_.Clear();
    PurgeLine(fd_, true, true);
    CloseSerialLine(fd_);
    fd_ = -1;
    Trace(WireEvent::Closed);
}

bool CnComm::StartThreads()
{
    for (const auto& worker : workers_) {
        if (worker.joinable())
            return false;
    }
    running_ = true;
    try {
        for (const Worker worker : {kEventWorker, kTransmitWorker}) {
            alive_[worker] = true;
            workers_[worker] = std::thread(&CnComm::RunWorker, this, worker);
        }
    } catch (const std::system_error&) {
        StopThreads();
        return false;
    }
    return true;
}

void CnComm::StopThreads()
{
    running_ = false;
    Wake(stopFd_);
    // Every wait of a worker also watches the stop descriptor, so each one
    // ends within milliseconds and can simply be joined.
    for (auto& worker : workers_) {
        if (worker.joinable())
            worker.join();
    }
}

void CnComm::RunWorker(Worker worker)
{
    static const char* const kNames[] = {"comm-event", "comm-transmit"};
    pthread_setname_np(pthread_self(), kNames[worker]);
    if (worker == kEventWorker) {
        EventLoop();
        // A port closed or lost in the middle of a burst ends it too.
        EndBurst();
    } else {
        TransmitLoop();
    }
    alive_[worker] = false;
}

void CnComm::EventLoop()
{
    while (running_ && !failureReported_) {
        uint32_t events;
        const int waiting = failed_ ? -1 : InputWaiting(fd_);
        if (waiting != 0) {
            events = kEventReceived;
            // Once a full block is already waiting, pausing would only back
            // the sender up.
            if (waiting < int(BlockBuffer::kMinimumBlock) && SleepUnlessStopped(kPauseMs))
                break;
        } else {
            events = WaitForPortEvent();
        }
        if (!running_)
            break;
        if (events && !DispatchEvents(events))
            break;
        NotifyIfQuiet();
    }
}

uint32_t CnComm::WaitForPortEvent()
{
    pollfd fds[] = {{fd_, POLLIN, 0}, {stopFd_, POLLIN, 0}, {wakeFd_[kEventWorker], POLLIN, 0}};
    int timeout = -1;
    if (watchLines_)
        timeout = kLineWatchMs;
    if (txPending_)
        timeout = kPauseMs;
    if (const int quietMs = QuietDueMs(); quietMs >= 0 && (timeout < 0 || quietMs < timeout))
        timeout = quietMs;
    if (::poll(fds, 3, timeout) < 0 && errno != EINTR) {
        MarkFailed();
        return kEventReceived;
    }
    if (fds[1].revents)
        return 0;
    if (fds[2].revents)
        Drain(wakeFd_[kEventWorker]);

    uint32_t events = 0;
    if (PollFailed(fds[0].revents)) {
        MarkFailed();
        events |= kEventReceived;
    } else if (fds[0].revents & POLLIN) {
        events |= kEventReceived;
    }
    if (watchLines_) {
        if (const auto now = ReadLineSnapshot(fd_)) {
            const auto changes = CompareLines(lines_, *now);
            lines_ = *now;
            events |= changes.events;
            pendingErrors_ |= changes.errors;
        }
    }
    if (txPending_ && OutputWaiting(fd_) <= 0) {
        txPending_ = false;
        events |= kEventTxEmpty;
    }
    return events;
}

bool CnComm::DispatchEvents(uint32_t events)
{
    if ((events & kEventReceived) && !HandleReceived())
        return false;
    if (events & kEventTxEmpty)
        NotifyTxEmpty();
    if (events & kEventCts)
        NotifyCts();
    if (events & kEventDsr)
        NotifyDsr();
    if (events & kEventRing)
        NotifyRing();
    if (events & kEventCarrier)
        NotifyCarrier();
    if (events & kEventBreak)
        NotifyBreak();
    if (events & kEventLineError) {
        const unsigned errors = pendingErrors_;
        pendingErrors_ = 0;
        NotifyLineError(errors);
    }
    return true;
}

bool CnComm::HandleReceived()
{
    const int waiting = failed_ ? -1 : InputWaiting(fd_);
    if (waiting < 0) {
        MarkFailed();
        if (!failureReported_.exchange(true))
            NotifyPortFailure();
        return false;
    }
    if (waiting == 0)
        return true;
    lastInput_ = Clock::now();
    FillReceiveBuffer(static_cast<uint32_t>(waiting));
    uint32_t available;
    {
        std::lock_guard lock(input_.Mutex());
        available = input_.Total();
    }
    if (available >= threshold_)
        NotifyReceived();
    return true;
}

int CnComm::QuietDueMs() const
{
    if (!lastInput_)
        return -1;
    return static_cast<int>(std::max<int64_t>(0, timeouts_.readInterval - MsSince(*lastInput_)));
}

void CnComm::NotifyIfQuiet()
{
    if (QuietDueMs() == 0)
        EndBurst();
}

void CnComm::EndBurst()
{
    if (!lastInput_)
        return;
    lastInput_.reset();
    uint64_t appended;
    {
        std::lock_guard lock(input_.Mutex());
        appended = input_.Appended();
    }
    NotifyLineQuiet(appended);
}

void CnComm::FillReceiveBuffer(uint32_t count)
{
    // Only what is already waiting is read, so the read returns at once and
    // the burst is handed over as it arrives.  Asking for more would hold the
    // notification back until the read interval passed after the device's
    // last byte: 100 ms on every reply.  Should the read still wait, the
    // window takes bytes out of Input() meanwhile: the lock is held only to
    // append.
    if (scratch_.size() < count)
        scratch_.resize(count);
    const uint32_t got = ReadRaw(scratch_.data(), count);
    if (got == 0)
        return;
    std::lock_guard lock(input_.Mutex());
    input_.Append(scratch_.data(), got);
}

void CnComm::TransmitLoop()
{
    while (running_) {
        pollfd fds[] = {{stopFd_, POLLIN, 0}, {wakeFd_[kTransmitWorker], POLLIN, 0}};
        ::poll(fds, 2, kTransmitLoopMs);
        if (fds[0].revents || !running_)
            break;
        if (fds[1].revents)
            Drain(wakeFd_[kTransmitWorker]);
        while (running_ && WritePendingOnce()) {}
    }
}

uint32_t CnComm::Send(const void* bytes, uint32_t count)
{
    if (fd_ < 0 || count == 0)
        return 0;
    // Traced as the caller hands the bytes over, on its thread: the order of
    // the calls is the order on the line, and the route is the one it set.
    Trace(WireEvent::Sent, bytes, count);
    pending_.Push(bytes, count);
    Wake(wakeFd_[kTransmitWorker]);
    bytesWritten_ += count;
    return count;
}

bool CnComm::WritePendingOnce()
{
    const auto* write = pending_.Front();
    if (!write)
        return false;
    WriteWithinBudget(write->data(), static_cast<uint32_t>(write->size()));
    pending_.PopFront();
    return true;
}

uint32_t CnComm::WriteWithinBudget(const void* bytes, uint32_t count)
{
    uint32_t written;
    {
        std::lock_guard lock(writeMutex_);
        written = WriteWithin(fd_, stopFd_, bytes, count, WriteBudgetMs(timeouts_, count)).count;
    }
    bytesOnLine_ += written;
    if (written > 0 && alive_[kEventWorker]) {
        txPending_ = true;
        Wake(wakeFd_[kEventWorker]);
    }
    return written;
}

uint32_t CnComm::ReadRaw(void* buffer, uint32_t count)
{
    if (fd_ < 0 || count == 0)
        return 0;
    const TimedIoResult read = ReadWithin(fd_, stopFd_, buffer, count, timeouts_);
    if (read.lost)
        MarkFailed();
    bytesRead_ += read.count;
    if (read.count > 0)
        Trace(WireEvent::Received, buffer, read.count);
    return read.count;
}

void CnComm::Trace(WireEvent::Kind kind, const void* bytes, uint32_t count)
{
    if (!WireTap::Watching())
        return;
    WireTap::Report({kind, portName_, bitsPerSecond_, traceRoute_.load(std::memory_order_relaxed),
                     std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(bytes), count)});
}

void CnComm::DrainTransmit()
{
    if (fd_ < 0)
        return;
    // The window calls this before each device operation; a device that
    // stopped reading must not hold it up for write time-outs.
    const int stallMs = StallMs(bitsPerSecond_);
    std::pair<uint64_t, int> progress{bytesOnLine_, OutputWaiting(fd_)};
    for (auto lastProgress = Clock::now();;) {
        const bool handedOver = !pending_.Empty();
        const std::pair<uint64_t, int> now{bytesOnLine_, OutputWaiting(fd_)};
        if (!handedOver && now.second <= 0)
            return;
        if (now != progress) {
            progress = now;
            lastProgress = Clock::now();
        } else if (MsSince(lastProgress) >= stallMs) {
            return;
        }
        if (handedOver && !WriterRunning())
            WritePendingOnce();
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(kPauseMs));
    }
}

bool CnComm::SleepUnlessStopped(int ms)
{
    pollfd fds[] = {{stopFd_, POLLIN, 0}};
    return ::poll(fds, 1, ms) > 0;
}

void CnComm::Wake(int eventFd)
{
    const uint64_t one = 1;
    [[maybe_unused]] auto ignored = ::write(eventFd, &one, sizeof one);
}

void CnComm::PostNotification(unsigned message, long argument)
{
    if (ICommSink* sink = sink_.load())
        sink->OnCommNotify(message, port_, argument);
}

}  // namespace quillon
