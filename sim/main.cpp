#include "app/ConfigLocation.h"
#include "cli/Messages.h"
#include "cli/StderrPrompt.h"
#include "serial/PortLinks.h"
#include "serial/WireTraceReader.h"
#include "sim/CatalogueSource.h"
#include "sim/SimOptions.h"
#include "sim/Simulator.h"

#include <cstdio>

namespace {

int Serve(quillon::sim::Simulator& simulator)
{
    if (const std::string error = simulator.Start(); !error.empty()) {
        std::fprintf(stderr, "quillon-sim: %s\n", error.c_str());
        return 1;
    }
    return simulator.Run();
}

// The device of a trace needs no catalogue: it says only what was recorded.
int Replay(const quillon::sim::SimOptions& options)
{
    using namespace quillon;
    const WireTraceRead read = ReadWireTraceFile(options.replay);
    if (!read.error.empty()) {
        std::fprintf(stderr, "quillon-sim: %s\n", read.error.c_str());
        return 2;
    }
    auto records = sim::RecordsOfPort(read.trace, PortName(options.com));
    if (records.empty()) {
        std::fprintf(stderr, "quillon-sim: %s has no traffic of %s (try --com)\n", options.replay.c_str(),
                     PortName(options.com).c_str());
        return 2;
    }
    sim::Simulator simulator(options, sim::DeviceSettings{}, stdout);
    simulator.Replay(std::move(records));
    return Serve(simulator);
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace quillon;
    sim::SimOptions options;
    if (const std::string error = sim::ParseOptions(argc, argv, options); !error.empty()) {
        std::fprintf(stderr, "quillon-sim: %s\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(sim::UsageText().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("quillon-sim %s\n", QUILLON_VERSION);
        return 0;
    }
    if (!options.replay.empty())
        return Replay(options);
    if (options.catalogue.empty())
        options.catalogue = LocateCatalogue();
    CatalogueLists lists;
    cli::SetSpeaker("quillon-sim");
    cli::StderrPrompt prompt(options.catalogue);
    if (!sim::LoadCatalogueLists(options.catalogue, lists, prompt)) {
        std::fprintf(stderr, "quillon-sim: no settings in catalogue %s\n", options.catalogue.c_str());
        return 2;
    }
    sim::Simulator simulator(options, sim::DeviceSettings::FromCatalogue(lists), stdout);
    return Serve(simulator);
}
