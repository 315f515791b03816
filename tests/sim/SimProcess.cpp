#include "sim/SimProcess.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <stdexcept>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace quillon::test {

namespace {

using Clock = std::chrono::steady_clock;

int MillisLeft(Clock::time_point end)
{
    return int(
        std::max<std::int64_t>(0, std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count()));
}
}  // namespace

Bytes HexBytes(const std::string& hex)
{
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(std::uint8_t(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

std::string HexText(const Bytes& bytes)
{
    std::string text;
    for (const auto b : bytes)
        text += {"0123456789ABCDEF"[b >> 4], "0123456789ABCDEF"[b & 15]};
    return text;
}

SimProcess::SimProcess(std::vector<std::string> extraArgs, bool paced)
{
    std::vector<std::string> args{"--catalogue", QUILLON_SIM_CATALOGUE};
    if (!paced)
        args.push_back("--no-pace");
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    Launch(std::move(args), false);
    OpenPort();
}

SimProcess::SimProcess(Replaying, std::vector<std::string> args)
{
    Launch(std::move(args), true);
}

SimProcess::SimProcess(const Serving& serving) : links_(serving.links), com_(serving.com)
{
    std::vector<std::string> args{"--com", std::to_string(serving.com), "--catalogue", serving.catalogue};
    if (!serving.paced)
        args.push_back("--no-pace");
    args.insert(args.end(), serving.extra.begin(), serving.extra.end());
    Launch(std::move(args), false);
}

void SimProcess::Launch(std::vector<std::string> args, bool withStderr)
{
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe");
    args.insert(args.begin(), QUILLON_SIM_BINARY);
    const std::string links = links_;
    pid_ = fork();
    if (pid_ == 0) {
        dup2(in[0], STDIN_FILENO);
        dup2(out[1], STDOUT_FILENO);
        if (withStderr)
            dup2(out[1], STDERR_FILENO);
        setenv("QUILLON_PORT_LINKS", links.c_str(), 1);
        std::vector<char*> argv(args.size() + 1, nullptr);
        std::transform(args.begin(), args.end(), argv.begin(), [](std::string& a) { return a.data(); });
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(in[0]), close(out[1]);
    stdinFd_ = in[1], stdoutFd_ = out[0];
    const std::string serving = WaitForLine("serving COM");
    if (serving.empty())
        throw std::runtime_error("quillon-sim printed no serving line");
    devicePath_ = serving.substr(serving.rfind(' ') + 1);
}

SimForTool::SimForTool(std::vector<std::string> extraArgs, bool paced) : SimProcess(std::move(extraArgs), paced)
{
    ClosePort();
    setenv("QUILLON_PORT_LINKS", LinkFolder().c_str(), 1);
    setenv("XDG_CONFIG_HOME", (std::filesystem::path(LinkFolder()).parent_path() / "config").c_str(), 1);
}

SimForTool::~SimForTool()
{
    unsetenv("QUILLON_PORT_LINKS");
    unsetenv("XDG_CONFIG_HOME");
}

std::vector<std::string> WithBundledCatalogue(std::vector<std::string> extraArgs)
{
    extraArgs.insert(extraArgs.begin(), {"--catalogue", "config/all.xml"});
    return extraArgs;
}

SimProcess::~SimProcess()
{
    ClosePort();
    Stop();
    close(stdinFd_), close(stdoutFd_);
}

void SimProcess::OpenPort()
{
    ClosePort();
    // Through the link, as the tool finds the port.
    port_ = open(LinkPath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (port_ < 0)
        throw std::runtime_error("cannot open " + LinkPath());
    termios settings{};
    tcgetattr(port_, &settings);
    cfmakeraw(&settings);
    cfsetspeed(&settings, B115200);
    tcsetattr(port_, TCSANOW, &settings);
}

void SimProcess::ClosePort()
{
    if (port_ >= 0)
        close(std::exchange(port_, -1));
}

void SimProcess::Send(const Bytes& bytes)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = write(port_, bytes.data() + done, bytes.size() - done);
        if (n <= 0 && errno != EINTR)
            throw std::runtime_error("write to the port failed");
        done += std::size_t(std::max<ssize_t>(n, 0));
    }
}

Bytes SimProcess::Pull(std::size_t count, std::chrono::milliseconds total, std::chrono::milliseconds quiet)
{
    Bytes bytes;
    const auto end = Clock::now() + total;
    std::uint8_t chunk[65536];
    while (bytes.size() < count) {
        pollfd fd{port_, POLLIN, 0};
        if (poll(&fd, 1, std::min(MillisLeft(end), int(quiet.count()))) <= 0 || !(fd.revents & POLLIN))
            break;
        const ssize_t n = read(port_, chunk, std::min(sizeof chunk, count - bytes.size()));
        if (n <= 0)
            break;
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    return bytes;
}

bool SimProcess::WaitForHangUp(std::chrono::milliseconds timeout)
{
    const auto end = Clock::now() + timeout;
    std::uint8_t chunk[4096];
    while (MillisLeft(end) > 0) {
        pollfd fd{port_, POLLIN, 0};
        if (poll(&fd, 1, MillisLeft(end)) <= 0)
            return false;
        if ((fd.revents & (POLLHUP | POLLERR)) || read(port_, chunk, sizeof chunk) <= 0)
            return true;
    }
    return false;
}

void SimProcess::Command(const std::string& line)
{
    const std::string text = line + "\n";
    if (write(stdinFd_, text.data(), text.size()) != ssize_t(text.size()))
        throw std::runtime_error("cannot talk to quillon-sim");
}

std::string SimProcess::WaitForLine(const std::string& text, std::chrono::milliseconds timeout)
{
    const auto end = Clock::now() + timeout;
    for (;;) {
        for (std::size_t newline; (newline = printed_.find('\n')) != std::string::npos;) {
            const std::string line = printed_.substr(0, newline);
            printed_.erase(0, newline + 1);
            if (line.find(text) != std::string::npos)
                return line;
        }
        pollfd fd{stdoutFd_, POLLIN, 0};
        char chunk[4096];
        ssize_t n = 0;
        if (poll(&fd, 1, MillisLeft(end)) <= 0 || (n = read(stdoutFd_, chunk, sizeof chunk)) <= 0)
            return {};
        printed_.append(chunk, std::size_t(n));
    }
}

int SimProcess::WaitForExit(std::chrono::milliseconds timeout)
{
    const auto end = Clock::now() + timeout;
    int status = 0;
    while (pid_ > 0 && MillisLeft(end) > 0) {
        if (waitpid(pid_, &status, WNOHANG) == pid_)
            return pid_ = -1, WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        usleep(20000);
    }
    Stop();
    return -1;
}

int SimProcess::Stop()
{
    if (pid_ <= 0)
        return -1;
    kill(pid_, SIGINT);
    int status = 0;
    for (int i = 0; i < 200; ++i, usleep(25000)) {
        if (waitpid(pid_, &status, WNOHANG) == pid_)
            return pid_ = -1, WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    kill(pid_, SIGKILL);
    waitpid(std::exchange(pid_, -1), &status, 0);
    return -1;
}

}  // namespace quillon::test
