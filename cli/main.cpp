#include "cli/CommandTrace.h"
#include "cli/Verbs.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kBadArguments = 2;

// The one place that tells about wrong arguments, whether the parser or a
// verb found them: "quillon-cli VERB: what is wrong", a pointer to --help,
// status 2.  --help and --version end here too, with status 0.
int Report(const CLI::App& app, const CLI::Error& error)
{
    if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success))
        return app.exit(error);
    std::string name = app.get_name();
    if (const auto chosen = app.get_subcommands(); !chosen.empty())
        name += " " + chosen.front()->get_name();
    std::fprintf(stderr, "%s: %s\nRun '%s --help' for more information.\n", name.c_str(), error.what(), name.c_str());
    return kBadArguments;
}

}  // namespace

int main(int argc, char** argv)
{
    CLI::App app("Command-line tool of Quillon: catalogues, serial ports, the device's settings, firmware, configuration-barcode sheets, device version, images and decoded output.",
                 "quillon-cli");
    app.set_version_flag("--version", std::string("quillon-cli ") + QUILLON_VERSION);

    const std::vector<quillon::cli::Verb> verbs = {
        quillon::cli::AddCatalogueVerb(app),
        quillon::cli::AddPortsVerb(app),
        quillon::cli::AddVersionVerb(app),
        quillon::cli::AddImageVerb(app),
        quillon::cli::AddListenVerb(app),
        quillon::cli::AddConnectVerb(app),
        quillon::cli::AddReadVerb(app),
        quillon::cli::AddSetVerb(app),
        quillon::cli::AddApplyVerb(app),
        quillon::cli::AddDiffVerb(app),
        quillon::cli::AddFirmwareVerb(app),
        quillon::cli::AddSendVerb(app),
#ifdef QUILLON_CLI_SHEET
        quillon::cli::AddSheetVerb(app),
#endif
    };
    quillon::cli::CommandTrace trace;
    for (const auto& verb : verbs)
        trace.AddOption(*verb.command);
    try {
        app.parse(argc, argv);
        for (const auto& verb : verbs) {
            if (verb.command->parsed()) {
                trace.Start(argc, argv);
                const int status = verb.run();
                trace.Finish(status);
                return status;
            }
        }
        // Checked here rather than by the parser, which would say this
        // before naming an unknown command.
        throw CLI::RequiredError("a command");
    } catch (const CLI::Error& error) {
        const int status = Report(app, error);
        trace.Finish(status);
        return status;
    }
    return kBadArguments;
}
