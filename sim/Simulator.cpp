#include "sim/Simulator.h"

#include "serial/PortLinks.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace quillon::sim {

namespace {

DeviceIdentity IdentityFrom(const SimOptions& options)
{
    DeviceIdentity identity;
    identity.width = options.width;
    identity.height = options.height;
    return identity;
}

// How long poll may wait, to the microsecond: at 115,200 baud a byte is due
// every 87 us, and a wait rounded up to whole milliseconds would hold every
// paced reply back by up to a millisecond.  nullopt: no deadline.
std::optional<timespec> TimeoutUntil(std::optional<SimTime> deadline, SimTime now)
{
    if (!deadline)
        return std::nullopt;
    const auto wait = std::chrono::duration_cast<std::chrono::microseconds>(
        std::clamp<SimTime::duration>(*deadline - now, SimTime::duration::zero(), std::chrono::seconds(60)));
    return timespec{static_cast<time_t>(wait.count() / 1000000), static_cast<long>(wait.count() % 1000000 * 1000)};
}

std::optional<SimTime> Earlier(std::optional<SimTime> a, std::optional<SimTime> b)
{
    if (!a)
        return b;
    if (!b)
        return a;
    return std::min(*a, *b);
}

}  // namespace

Simulator::Simulator(const SimOptions& options, DeviceSettings settings, std::FILE* messages)
    : options_(options),
      messages_(messages),
      // A trace's replies keep the times they were recorded at, which the
      // line's pace is already in.
      out_(options.pace && options.replay.empty() ? options.baud / 10 : 0),
      inPace_(options.pace ? options.baud / 10 : 0),
      device_(std::move(settings), IdentityFrom(options), out_, options.firmwareOut,
              [this](const std::string& line) { Say(line); }),
      interpreter_(device_, *this, options.encoding)
{
    device_.SetReadBackEndQuiet(Millis(options.readBackHoldMs));
}

Simulator::~Simulator()
{
    if (pty_.IsOpen())
        RemovePortLink(options_.com);
    if (signalFd_ >= 0)
        ::close(signalFd_);
}

void Simulator::Say(const std::string& text)
{
    std::fprintf(messages_, "%s\n", text.c_str());
    std::fflush(messages_);
}

std::string Simulator::Start()
{
    for (const auto& [name, arg] : options_.faults)
        if (const std::string error = device_.Faults().Arm(name, arg); !error.empty())
            return error;
    if (!options_.controlPath.empty()) {
        if (const std::string error = fifo_.Create(options_.controlPath); !error.empty())
            return error;
        fifoOpen_ = true;
    }
    sigset_t signals;
    sigemptyset(&signals);
    for (const int s : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&signals, s);
    sigprocmask(SIG_BLOCK, &signals, nullptr);
    signalFd_ = signalfd(-1, &signals, SFD_NONBLOCK | SFD_CLOEXEC);
    // A write to a vanished reader must not end the simulator; a background
    // job must not be stopped for touching the terminal.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGTTIN, SIG_IGN);
    std::signal(SIGTTOU, SIG_IGN);
    return Plug();
}

std::string Simulator::Plug()
{
    if (pty_.IsOpen())
        return "already plugged in";
    if (!pty_.Open())
        return std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
    // Watched before it is published: a tool waiting for the link opens the
    // port at once, and that open must count.
    users_.Watch(pty_.SlavePath());
    if (!PublishPortLink(options_.com, pty_.SlavePath())) {
        const std::string error = std::strerror(errno);
        users_.Stop();
        pty_.Close();
        return "cannot publish " + PortName(options_.com) + " in " + PortLinkFolder() + ": " + error;
    }
    Say("quillon-sim: serving " + PortName(options_.com) + " on " + pty_.SlavePath());
    return {};
}

void Simulator::Unplug()
{
    if (!pty_.IsOpen())
        return;
    RemovePortLink(options_.com);
    users_.Stop();
    pty_.Close();
    out_.Clear();
    inPace_.Restart();
    readResume_.reset();
    device_.ResetLink();
}

void Simulator::Replay(std::vector<WireRecord> records)
{
    replay_ = std::make_unique<TracePlayer>(std::move(records), out_, options_.pace, [](const std::string& text) {
        std::fprintf(stderr, "quillon-sim: replay: %s\n", text.c_str());
    });
}

void Simulator::PortUseChanged()
{
    const std::string port = PortName(options_.com);
    if (users_.InUse()) {
        Say(port + " opened");
        if (replay_)
            replay_->PortOpened(SimClock::now());
        return;
    }
    if (replay_)
        replay_->PortClosed(SimClock::now());
    // Nobody listens: like a real line, what the device was sending is lost
    // and the next program starts on a clean line.
    Say(port + " closed");
    out_.Clear();
    pty_.DropUnread();
    device_.ResetLink();
}

std::string Simulator::Status() const
{
    return PortName(options_.com) + (pty_.IsOpen() ? " on " + pty_.SlavePath() : " unplugged");
}

std::optional<SimTime> Simulator::ReadLine(SimTime now)
{
    std::uint8_t buffer[4096];
    for (;;) {
        const std::size_t allowed = inPace_.Allowance(now, sizeof buffer);
        if (allowed == 0)
            return inPace_.NextByteAt();
        const ssize_t got = ::read(pty_.MasterFd(), buffer, allowed);
        if (got > 0) {
            inPace_.Moved(static_cast<std::size_t>(got));
            const std::span<const std::uint8_t> bytes(buffer, static_cast<std::size_t>(got));
            if (replay_)
                replay_->Receive(bytes, now);
            else
                device_.Receive(bytes, now);
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        // Nothing waiting: the tool's next bytes start a new run.
        inPace_.Restart();
        return std::nullopt;
    }
}

void Simulator::ReadControl(int fd, LineReader& reader, bool& open)
{
    if (reader.ReadFrom(fd) == LineReader::State::Ended) {
        open = false;
        if (std::string rest = reader.TakeRest(); !rest.empty())
            Say(interpreter_.Execute(rest));
    }
    for (const auto& line : reader.TakeLines())
        Say(interpreter_.Execute(line));
}

int Simulator::Run()
{
    while (running_) {
        SimTime now = SimClock::now();
        if (replay_) {
            replay_->Tick(now);
            if (replay_->Finished())
                break;
        } else {
            device_.Tick(now);
        }
        if (pty_.IsOpen() && readResume_ && now >= *readResume_)
            readResume_ = ReadLine(now);
        bool wantWrite = false;
        if (!users_.InUse())
            out_.Clear();
        if (pty_.IsOpen() && !out_.Empty()) {
            const auto result = out_.Pump(pty_.MasterFd(), now);
            wantWrite = result == OutputQueue::PumpResult::Blocked;
            if (result == OutputQueue::PumpResult::Failed)
                out_.Clear();
        }
        pollfd fds[5];
        nfds_t count = 0;
        // Where each watched descriptor sits in fds, or -1.
        const auto watch = [&](bool watched, int fd, short events) {
            if (!watched)
                return -1;
            fds[count] = {fd, events, 0};
            return static_cast<int>(count++);
        };
        watch(true, signalFd_, POLLIN);
        const int usersAt = watch(users_.Fd() >= 0, users_.Fd(), POLLIN);
        const int lineAt = watch(pty_.IsOpen(), pty_.MasterFd(),
                                 static_cast<short>((readResume_ ? 0 : POLLIN) | (wantWrite ? POLLOUT : 0)));
        const int stdinAt = watch(stdinOpen_, STDIN_FILENO, POLLIN);
        const int fifoAt = watch(fifoOpen_, fifo_.Fd(), POLLIN);

        now = SimClock::now();
        const auto deadline =
            Earlier(Earlier(replay_ ? replay_->NextDeadline() : device_.NextDeadline(now), readResume_),
                    pty_.IsOpen() ? out_.NextWake() : std::nullopt);
        const std::optional<timespec> timeout = TimeoutUntil(deadline, now);
        if (::ppoll(fds, count, timeout ? &*timeout : nullptr, nullptr) < 0 && errno != EINTR)
            return 1;
        if (fds[0].revents & POLLIN) {
            signalfd_siginfo info{};
            if (::read(signalFd_, &info, sizeof info) > 0)
                Say("quillon-sim: signal " + std::to_string(info.ssi_signo) + ", stopping");
            running_ = false;
        }
        // Opens and closes first: the tool's bytes come after its open.
        if (usersAt >= 0 && (fds[usersAt].revents & POLLIN) && users_.Update())
            PortUseChanged();
        if (lineAt >= 0 && (fds[lineAt].revents & POLLIN))
            readResume_ = ReadLine(SimClock::now());
        if (stdinAt >= 0 && (fds[stdinAt].revents & (POLLIN | POLLHUP | POLLERR)))
            ReadControl(STDIN_FILENO, stdinLines_, stdinOpen_);
        if (fifoAt >= 0 && (fds[fifoAt].revents & POLLIN))
            ReadControl(fifo_.Fd(), fifoLines_, fifoOpen_);
    }
    Unplug();
    return replay_ && replay_->Differences() > 0 ? 1 : 0;
}

}  // namespace quillon::sim
