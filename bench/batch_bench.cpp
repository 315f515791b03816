// quillon-cli apply of a profile that differs from a fresh scanner in every
// option setting it can (each takes another option of its own, the line's
// settings left alone), built from what a fresh simulator reports as read -o
// writes it, to one simulated scanner, then to eight at once, all paced at
// 115,200 baud; the wall times and their ratio.  Eight devices on eight
// lines should take little longer than one.  An apply connects, reads every
// setting back, writes what differs, and reads back again for the check; the
// same apply once the devices hold the profile writes nothing, and the
// difference is the writing.
//   build/bench/batch_bench [SCANNERS]
#include "catalogue/CatalogueLoader.h"
#include "catalogue/CatalogueTree.h"
#include "catalogue/XmlReader.h"
#include "sim/SimProcess.h"
#include "support/ProgramRun.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"

#include <sys/resource.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace quillon;
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

std::string Text(const std::string& path)
{
    std::ifstream file(path);
    return {std::istreambuf_iterator<char>(file), {}};
}

// The option codes of each setting in the catalogue, by the setting's
// PIDFID (the first four digits of its options' codes).
std::map<std::string, std::vector<std::string>> OptionCodes(const std::string& catalogue)
{
    CXmlReader reader;
    CatalogueLists lists;
    CatalogueTree tree;
    RecordingPrompt prompt;
    std::map<std::string, std::vector<std::string>> codes;
    if (CatalogueLoader(reader, lists, tree, prompt).LoadCatalogue(catalogue) != 0)
        return codes;
    for (const TreeNodeInfo& node : lists.treeNodes) {
        if (node.level == 3 && node.code.size() == 6)
            codes[node.code.substr(0, 4)].push_back(node.code);
    }
    return codes;
}

// Each option setting of the profile moved to another option of its own;
// the line's speed, parity, bits and interface stay, so the link holds.
// The number of settings changed.
std::size_t MoveEveryOption(const std::string& profile, const std::string& catalogue)
{
    const auto codes = OptionCodes(catalogue);
    nlohmann::json json = nlohmann::json::parse(Text(profile));
    std::size_t moved = 0;
    for (auto& setting : json["settings"]) {
        const std::string code = setting["code"];
        const std::string pidfid = code.substr(0, 4);
        if (setting.contains("value") || code.size() != 6 || pidfid.starts_with("414") || pidfid == "4240")
            continue;
        const auto options = codes.find(pidfid);
        if (options == codes.end())
            continue;
        for (const std::string& other : options->second) {
            if (other != code && other.size() == 6) {
                setting["code"] = other;
                setting.erase("option");
                ++moved;
                break;
            }
        }
    }
    std::ofstream(profile) << json.dump(1);
    return moved;
}

// Fresh paced scanners COM9... in their own link folder: apply to all, and
// again once they hold the profile.
std::pair<Timed, Timed> ApplyTo(int scanners, const std::string& profile)
{
    const TempDir dir;
    const std::string links = (dir.Path() / "ports").string();
    std::vector<std::unique_ptr<SimProcess>> sims;
    std::string ports;
    for (int i = 0; i < scanners; ++i) {
        sims.push_back(std::make_unique<SimProcess>(SimProcess::Serving{9 + i, links, "config/all.xml", true, {}}));
        ports += " --port " + sims.back()->Name();
    }
    std::pair<Timed, Timed> timed{Cli(links, "apply " + Quote(profile) + ports),
                                  Cli(links, "apply " + Quote(profile) + ports)};
    for (const Timed* run : {&timed.first, &timed.second}) {
        if (run->run.exitCode != 0)
            std::fprintf(stderr, "apply to %d failed (%d):\n%s%s", scanners, run->run.exitCode, run->run.out.c_str(),
                         run->run.err.c_str());
    }
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
        const SimProcess fresh(SimProcess::Serving{9, links, "config/all.xml", false, {}});
        const Timed read = Cli(links, "read --port COM9 -o " + Quote(profile));
        if (read.run.exitCode != 0) {
            std::fprintf(stderr, "read -o failed: %s", read.run.err.c_str());
            return 1;
        }
    }
    const std::size_t settings = MoveEveryOption(profile, "config/all.xml");
    if (settings == 0) {
        std::fprintf(stderr, "batch_bench: no setting of the profile could be given another option\n");
        return 1;
    }
    // Starting and loading the catalogue, without a port.
    const Timed start = Cli(dir.Path().string(), "read --port COM98");
    const auto [one, oneAgain] = ApplyTo(1, profile);
    const auto [many, manyAgain] = ApplyTo(scanners, profile);
    std::printf("apply of a profile that changes %zu settings, at 115200 baud, paced simulators:\n", settings);
    std::printf("  1 scanner:  %.3f s wall, %.3f s CPU of quillon-cli; again, writing nothing: %.3f s\n", one.wall,
                one.cpu, oneAgain.wall);
    std::printf("  %d scanners: %.3f s wall, %.3f s CPU of quillon-cli; again: %.3f s\n", scanners, many.wall, many.cpu,
                manyAgain.wall);
    std::printf("  %d at once take %.2fx the time of one (aim <= 1.3x)\n", scanners, many.wall / one.wall);
    // The first apply reads back twice (before and after writing), the
    // second once.
    const double readBack = oneAgain.wall - start.wall;
    std::printf("  one scanner, the writes: %.2f ms a setting (its frame and reply take under 1.5 ms on the wire; "
                "starting %.3f s, a read-back %.3f s)\n",
                1000 * (one.wall - oneAgain.wall - readBack) / static_cast<double>(settings), start.wall, readBack);
    return one.run.exitCode == 0 && many.run.exitCode == 0 && oneAgain.run.exitCode == 0 ? 0 : 1;
}
