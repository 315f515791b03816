// (a) Connect and read every setting of the bundled catalogue back from
// quillon-sim paced at 115,200 baud, through the same device link as
// quillon-cli read, and set the time against the wire time of the bytes
// exchanged.  Run from the source folder: build/bench/readback_bench
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "cli/DeviceLink.h"

using namespace quillon;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kBaud = 115200;

// Starts the simulator on COM9 in its own link folder; its pid.
pid_t StartSimulator(const std::string& links)
{
    int out[2];
    if (pipe(out) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        setenv("QUILLON_PORT_LINKS", links.c_str(), 1);
        execl(QUILLON_SIM_BINARY, QUILLON_SIM_BINARY, "--catalogue", "config/all.xml", "--baud", "115200", nullptr);
        _exit(127);
    }
    close(out[1]);
    std::string printed;
    char chunk[512];
    for (pollfd fd{out[0], POLLIN, 0}; printed.find("serving") == std::string::npos && poll(&fd, 1, 5000) > 0;) {
        const ssize_t n = read(out[0], chunk, sizeof chunk);
        if (n <= 0)
            break;
        printed.append(chunk, static_cast<std::size_t>(n));
    }
    return pid;
}

}  // namespace

int main()
{
    char folder[] = "/tmp/quillon-bench-XXXXXX";
    if (!mkdtemp(folder))
        return 1;
    const std::string links = std::string(folder) + "/ports";
    setenv("QUILLON_PORT_LINKS", links.c_str(), 1);
    const pid_t sim = StartSimulator(links);

    cli::PortArgs args;
    args.port = "COM9";
    args.baud = kBaud;
    cli::DeviceLink link(args);
    int status = link.LoadCatalogue() ? link.Open() : 1;
    const auto start = Clock::now();
    if (status == 0)
        status = link.Connect();
    const auto online = Clock::now();
    if (status == 0)
        status = link.FinishReadBack();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const double readBackSeconds = std::chrono::duration<double>(Clock::now() - online).count();
    const double sent = link.Comm().BytesWritten();
    const double received = link.Comm().BytesRead();
    const double byteSeconds = 10.0 / kBaud;
    if (status == 0) {
        std::printf("(a) connect and read-back of the bundled catalogue at %d baud: %.3f s (read-back alone %.3f s, "
                    "of which the simulator holds the closing frame back %lld ms); %.0f bytes sent, %.0f received\n",
                    kBaud, seconds, readBackSeconds, 100LL, sent, received);
        std::printf("    wire time: %.3f s both directions one after the other (%.2fx), %.3f s the busier direction "
                    "(%.2fx)\n",
                    (sent + received) * byteSeconds, seconds / ((sent + received) * byteSeconds),
                    std::max(sent, received) * byteSeconds, seconds / (std::max(sent, received) * byteSeconds));
    } else {
        std::printf("(a) the read-back did not complete\n");
    }
    kill(sim, SIGINT);
    waitpid(sim, nullptr, 0);
    std::filesystem::remove_all(folder);
    return status;
}
