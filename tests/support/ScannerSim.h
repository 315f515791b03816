#pragma once
#include <algorithm>
#include <chrono>
#include <csignal>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quillon::test {

// quillon-sim started as a child process that serves COMn in a port-link
// folder the caller chooses, so that several simulated scanners can share one
// folder and one quillon-cli run can reach them all.  The tool's side of the
// line is left alone.  Needs QUILLON_SIM_BINARY; usable from tests and
// benchmarks alike (it reports trouble by exceptions, not test macros).
class ScannerSim {
public:
    struct Options {
        int com = 9;
        std::string links;                         // the port-link folder
        std::string catalogue = "config/all.xml";  // as seen from the working folder
        bool paced = false;                        // replies at the line speed (115200 baud)
        std::vector<std::string> extra;            // more arguments (--fault ...)
    };

    explicit ScannerSim(const Options& options) : com_(options.com)
    {
        int in[2], out[2];
        if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe");
        std::vector<std::string> args{QUILLON_SIM_BINARY, "--com", std::to_string(options.com), "--catalogue",
                                      options.catalogue};
        if (!options.paced)
            args.push_back("--no-pace");
        args.insert(args.end(), options.extra.begin(), options.extra.end());
        pid_ = fork();
        if (pid_ == 0) {
            dup2(in[0], STDIN_FILENO);
            dup2(out[1], STDOUT_FILENO);
            setenv("QUILLON_PORT_LINKS", options.links.c_str(), 1);
            std::vector<char*> argv;
            for (std::string& arg : args)
                argv.push_back(arg.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        stdin_ = in[1];
        stdout_ = out[0];
        const std::string serving = WaitForLine("serving COM");
        if (serving.empty())
            throw std::runtime_error("quillon-sim printed no serving line");
        devicePath_ = serving.substr(serving.rfind(' ') + 1);
    }

    ~ScannerSim()
    {
        Stop();
        close(stdin_);
        close(stdout_);
    }
    ScannerSim(const ScannerSim&) = delete;
    ScannerSim& operator=(const ScannerSim&) = delete;

    std::string Name() const { return "COM" + std::to_string(com_); }
    const std::string& DevicePath() const { return devicePath_; }

    // A control line on the simulator's standard input ("unplug", "fault ...").
    void Command(const std::string& line)
    {
        const std::string text = line + "\n";
        if (write(stdin_, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
            throw std::runtime_error("cannot talk to quillon-sim");
    }

    // Reads what the simulator prints until a line contains text; that line,
    // or "" when none came within the time-out.
    std::string WaitForLine(const std::string& text, std::chrono::milliseconds timeout = std::chrono::seconds(20))
    {
        const auto end = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            for (std::size_t newline; (newline = printed_.find('\n')) != std::string::npos;) {
                const std::string line = printed_.substr(0, newline);
                printed_.erase(0, newline + 1);
                if (line.find(text) != std::string::npos)
                    return line;
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
            pollfd fd{stdout_, POLLIN, 0};
            char chunk[4096];
            ssize_t n = 0;
            if (left.count() <= 0 || poll(&fd, 1, static_cast<int>(left.count())) <= 0 ||
                (n = read(stdout_, chunk, sizeof chunk)) <= 0)
                return {};
            printed_.append(chunk, static_cast<std::size_t>(n));
        }
    }

    // Ends the simulator (SIGINT, SIGKILL when it does not go); its link goes
    // with it.
    void Stop()
    {
        if (pid_ <= 0)
            return;
        kill(pid_, SIGINT);
        int status = 0;
        for (int i = 0; i < 200 && waitpid(pid_, &status, WNOHANG) == 0; ++i)
            usleep(25000);
        if (waitpid(pid_, &status, WNOHANG) == 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
        }
        pid_ = -1;
    }

private:
    int com_;
    pid_t pid_ = -1;
    int stdin_ = -1;
    int stdout_ = -1;
    std::string devicePath_;
    std::string printed_;
};

}  // namespace quillon::test
