// What a wire trace costs: quillon-cli image takes a 1 MiB image (1024x1020,
// the largest of that width the receive area holds)
// from quillon-sim paced at 460,800 baud, several times with and several
// times without --trace; the CPU time of quillon-cli (user + system) each
// way, the median of the runs, and the trace's size.  Tracing should cost
// under 5% more CPU.
//   build/bench/trace_bench [RUNS]     (default 3; from the source folder)
#include "sim/SimProcess.h"
#include "support/ProgramRun.h"
#include "support/TempDir.h"

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

using namespace quillon::test;

namespace {

double ChildrenCpu()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The CPU seconds of one image run; exits when the run fails.
double ImageRun(const std::string& links, const TempDir& dir, bool traced)
{
    const std::string trace = traced ? " --trace " + Quote((dir.Path() / "image.trace").string()) : "";
    const double before = ChildrenCpu();
    const ProgramRun run = RunProgram("QUILLON_PORT_LINKS=" + Quote(links) + " " + Quote(QUILLON_CLI) +
                                      " image --port COM9 --baud 460800 --scale 1 -o " +
                                      Quote((dir.Path() / "image.bmp").string()) + trace);
    const double cpu = ChildrenCpu() - before;
    if (run.exitCode != 0) {
        std::fprintf(stderr, "trace_bench: quillon-cli image failed (%d): %s\n", run.exitCode, run.err.c_str());
        std::exit(1);
    }
    return cpu;
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const TempDir dir;
    const std::string links = (dir.Path() / "ports").string();
    const SimProcess sim(
        SimProcess::Serving{9, links, "config/all.xml", true, {"--baud", "460800", "--resolution", "1024x1020"}});
    std::vector<double> plain, traced;
    for (int i = 0; i < runs; ++i) {
        plain.push_back(ImageRun(links, dir, false));
        traced.push_back(ImageRun(links, dir, true));
    }
    const double without = Median(plain);
    const double with = Median(traced);
    std::printf("1 MiB image at 460800 baud, median of %d runs: CPU %.3f s without a trace, %.3f s with one "
                "(%+.1f%%); trace %.1f MB\n",
                runs, without, with, 100.0 * (with - without) / without,
                static_cast<double>(std::filesystem::file_size(dir.Path() / "image.trace")) / 1e6);
    return 0;
}
