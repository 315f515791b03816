// (a) Connect and read every setting of the bundled catalogue back from
// quillon-sim paced at 115,200 baud, through the same device link as
// quillon-cli read, and set the time against the wire time of the bytes
// exchanged.  The simulator holds the frame that closes a read-back until
// the tool's requests have been quiet for 100 ms, as a device may; the run
// is made with that hold and without it, so that the figure without it
// shows what the tool itself costs.  Run from the source folder:
// build/bench/readback_bench [RUNS]
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/DeviceLink.h"

using namespace quillon;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kBaud = 115200;
constexpr double kByteSeconds = 10.0 / kBaud;  // start, 8 data, stop

// Starts the simulator on COM9 in its own link folder; its pid.
pid_t StartSimulator(const std::string& links, int holdMs)
{
    int out[2];
    if (pipe(out) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        setenv("QUILLON_PORT_LINKS", links.c_str(), 1);
        const std::string hold = std::to_string(holdMs);
        execl(QUILLON_SIM_BINARY, QUILLON_SIM_BINARY, "--catalogue", "config/all.xml", "--baud", "115200",
              "--read-back-hold", hold.c_str(), nullptr);
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
    close(out[0]);
    return pid;
}

struct Run {
    bool done = false;
    double connect = 0, readBack = 0;  // seconds
    double sent = 0, received = 0;     // bytes
};

Run MeasureOnce(int holdMs)
{
    char folder[] = "/tmp/quillon-bench-XXXXXX";
    if (!mkdtemp(folder))
        return {};
    const std::string links = std::string(folder) + "/ports";
    setenv("QUILLON_PORT_LINKS", links.c_str(), 1);
    const pid_t sim = StartSimulator(links, holdMs);

    Run run;
    {
        cli::PortArgs args;
        args.port = "COM9";
        args.baud = kBaud;
        cli::DeviceLink link(args);
        using cli::ExitStatus;
        ExitStatus status = link.LoadCatalogue() ? link.Open() : ExitStatus::DeviceOrOutcome;
        const auto start = Clock::now();
        if (status == ExitStatus::Done)
            status = link.Connect();
        const auto online = Clock::now();
        if (status == ExitStatus::Done)
            status = link.FinishReadBack();
        const auto end = Clock::now();
        run.done = status == ExitStatus::Done;
        run.connect = std::chrono::duration<double>(online - start).count();
        run.readBack = std::chrono::duration<double>(end - online).count();
        run.sent = link.Comm().BytesWritten();
        run.received = link.Comm().BytesRead();
    }
    kill(sim, SIGINT);
    waitpid(sim, nullptr, 0);
    std::filesystem::remove_all(folder);
    return run;
}

// The median run by total time, of `runs`; not done when any run failed.
Run Measure(int holdMs, int runs)
{
    std::vector<Run> all;
    for (int i = 0; i < runs; ++i) {
        all.push_back(MeasureOnce(holdMs));
        if (!all.back().done)
            return {};
    }
    std::sort(all.begin(), all.end(),
              [](const Run& a, const Run& b) { return a.connect + a.readBack < b.connect + b.readBack; });
    return all[all.size() / 2];
}

void Print(const char* title, const Run& run)
{
    if (!run.done) {
        std::printf("%s: the read-back did not complete\n", title);
        return;
    }
    const double total = run.connect + run.readBack;
    const double bothWays = (run.sent + run.received) * kByteSeconds;
    const double busier = std::max(run.sent, run.received) * kByteSeconds;
    std::printf("%s: %.3f s (connect %.3f s, read-back %.3f s); %.0f bytes sent, %.0f received\n", title, total,
                run.connect, run.readBack, run.sent, run.received);
    std::printf("    wire time: %.3f s both directions one after the other (%.2fx), %.3f s the busier direction "
                "(%.2fx)\n",
                bothWays, total / bothWays, busier, total / busier);
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::printf("(a) connect and read-back of the bundled catalogue at %d baud, median of %d runs\n", kBaud, runs);
    const Run held = Measure(100, runs);
    Print("  simulator holds the closing frame 100 ms", held);
    const Run inTurn = Measure(0, runs);
    Print("  closing frame answered in turn          ", inTurn);
    return held.done && inTurn.done ? 0 : 1;
}
