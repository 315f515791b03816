// quillon-cli apply of the bundled catalogue's full profile (every setting a
// fresh simulator reports, as read -o writes it) to one simulated scanner,
// then to eight at once, all paced at 115,200 baud; the wall times and their
// ratio.  Eight devices on eight lines should take little longer than one.
// An apply connects, reads every setting back, writes, and reads back again
// for the check; the time of a read alone on the same paced simulator (which
// holds a read-back's closing frame 100 ms, as a device may) tells how much
// of a setting's share is the writing.
//   build/bench/batch_bench [SCANNERS]
#include "support/ProgramRun.h"
#include "support/ScannerSim.h"
#include "support/TempDir.h"

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

using namespace quillon::test;

namespace {

struct Timed {
    double wall = 0;
    double cpu = 0;  // quillon-cli's user + system time
    ProgramRun run;
};

double ChildrenCpu()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

Timed Cli(const std::string& links, const std::string& arguments)
{
    Timed timed;
    const double cpuBefore = ChildrenCpu();
    const auto start = std::chrono::steady_clock::now();
    timed.run = RunProgram("QUILLON_PORT_LINKS=" + Quote(links) + " " + Quote(QUILLON_CLI) + " " + arguments);
    timed.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    timed.cpu = ChildrenCpu() - cpuBefore;
    return timed;
}

// Fresh paced scanners COM9... in their own link folder, and apply to all.
Timed ApplyTo(int scanners, const std::string& profile)
{
    const TempDir dir;
    const std::string links = (dir.Path() / "ports").string();
    std::vector<std::unique_ptr<ScannerSim>> sims;
    std::string ports;
    for (int i = 0; i < scanners; ++i) {
        sims.push_back(std::make_unique<ScannerSim>(ScannerSim::Options{9 + i, links, "config/all.xml", true, {}}));
        ports += " --port " + sims.back()->Name();
    }
    Timed timed = Cli(links, "apply " + Quote(profile) + ports);
    if (timed.run.exitCode != 0)
        std::fprintf(stderr, "apply to %d failed (%d):\n%s%s", scanners, timed.run.exitCode, timed.run.out.c_str(),
                     timed.run.err.c_str());
    return timed;
}

}  // namespace

int main(int argc, char** argv)
{
    const int scanners = argc > 1 ? std::atoi(argv[1]) : 8;
    if (chdir(QUILLON_SOURCE_DIR) != 0)
        return 1;
    const TempDir dir;
    const std::string profile = (dir.Path() / "full.json").string();
    {
        const std::string links = (dir.Path() / "ports").string();
        const ScannerSim fresh({9, links, "config/all.xml", false, {}});
        const Timed read = Cli(links, "read --port COM9 -o " + Quote(profile));
        if (read.run.exitCode != 0) {
            std::fprintf(stderr, "read -o failed: %s", read.run.err.c_str());
            return 1;
        }
    }
    std::ifstream file(profile);
    const std::string text((std::istreambuf_iterator<char>(file)), {});
    std::size_t settings = 0;
    for (std::size_t at = 0; (at = text.find("\"code\"", at)) != std::string::npos; ++at)
        ++settings;

    Timed read;
    {
        const TempDir readDir;
        const std::string links = (readDir.Path() / "ports").string();
        const ScannerSim paced({9, links, "config/all.xml", true, {}});
        read = Cli(links, "read --port COM9");
    }
    // Starting and loading the catalogue, which apply does once, not twice.
    const Timed start = Cli(dir.Path().string(), "read --port COM98");
    const Timed one = ApplyTo(1, profile);
    const Timed many = ApplyTo(scanners, profile);
    std::printf("apply of the full profile (%zu settings) at 115200 baud, paced simulators:\n", settings);
    std::printf("  1 scanner:  %.3f s wall, %.3f s CPU of quillon-cli\n", one.wall, one.cpu);
    std::printf("  %d scanners: %.3f s wall, %.3f s CPU of quillon-cli\n", scanners, many.wall, many.cpu);
    std::printf("  %d at once take %.2fx the time of one (aim <= 1.3x)\n", scanners, many.wall / one.wall);
    std::printf("  one scanner: %.1f ms a setting written (its frame and reply take under 1.5 ms on the wire)\n",
                1000 * one.wall / static_cast<double>(settings));
    const double readBack = read.wall - start.wall;
    std::printf("    of which starting: %.1f ms, connecting and reading back twice: %.1f ms (%.3f s each), "
                "the writes: %.1f ms a setting\n",
                1000 * start.wall / static_cast<double>(settings), 2000 * readBack / static_cast<double>(settings),
                readBack, 1000 * (one.wall - start.wall - 2 * readBack) / static_cast<double>(settings));
    return one.run.exitCode == 0 && many.run.exitCode == 0 ? 0 : 1;
}
