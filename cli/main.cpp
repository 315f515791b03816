#include "cli/CommandTrace.h"
#include "cli/InterfaceLanguage.h"
#include "cli/Interrupts.h"
#include "cli/Messages.h"
#include "cli/Verbs.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The one place that tells about wrong arguments, whether the parser or a
// verb found them: "quillon-cli VERB: what is wrong", a pointer to --help,
// status 2.  --help and --version end here too, with status 0.
// What the verb printed must have reached standard output: a full disk or a
// closed pipe found only when the last buffer is flushed is a failure too.
quillon::cli::ExitStatus FlushOutput(quillon::cli::ExitStatus status)
{
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return status;
    quillon::cli::Complain(std::string("cannot write standard output: ") + std::strerror(errno));
    return status == quillon::cli::ExitStatus::Done ? quillon::cli::ExitStatus::DeviceOrOutcome : status;
}

int Report(const CLI::App& app, const CLI::Error& error)
{
    if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success))
        return app.exit(error);
    std::string name = app.get_name();
    if (const auto chosen = app.get_subcommands(); !chosen.empty())
        name += " " + chosen.front()->get_name();
    std::fprintf(stderr, "%s: %s\nRun '%s --help' for more information.\n", name.c_str(), error.what(), name.c_str());
    return Code(quillon::cli::ExitStatus::BadInput);
}

}  // namespace

int main(int argc, char** argv)
{
    quillon::cli::InterfaceLanguageOption language(argc, argv);
    language.Install();
    CLI::App app(
        "Command-line tool of Quillon: catalogues, serial ports, the device's settings, firmware, configuration-barcode sheets, device version, images and decoded output.",
        "quillon-cli");
    app.set_version_flag("--version", std::string("quillon-cli ") + QUILLON_VERSION);

    const std::vector<quillon::cli::Verb> verbs = {
        quillon::cli::AddCatalogueVerb(app), quillon::cli::AddPortsVerb(app),    quillon::cli::AddVersionVerb(app),
        quillon::cli::AddImageVerb(app),     quillon::cli::AddListenVerb(app),   quillon::cli::AddConnectVerb(app),
        quillon::cli::AddReadVerb(app),      quillon::cli::AddSetVerb(app),      quillon::cli::AddApplyVerb(app),
        quillon::cli::AddDiffVerb(app),      quillon::cli::AddFirmwareVerb(app), quillon::cli::AddSendVerb(app),
#ifdef QUILLON_CLI_SHEET
        quillon::cli::AddSheetVerb(app),
#endif
    };
    quillon::cli::CommandTrace trace;
    language.AddOption(app);
    for (const auto& verb : verbs) {
        trace.AddOption(*verb.command);
        language.AddOption(*verb.command);
    }
    // Every verb's help ends with the one table of exit statuses.
    for (const auto& verb : verbs)
        verb.command->footer(verb.command->get_footer() + "\n" + quillon::cli::kExitStatusTable);
    app.footer(quillon::cli::kExitStatusTable);
    try {
        app.parse(argc, argv);
        for (const auto& verb : verbs) {
            if (!verb.command->parsed())
                continue;
            quillon::cli::SetSpeaker("quillon-cli " + verb.command->get_name());
            quillon::cli::CatchInterrupts();
            trace.Start(argc, argv);
            quillon::cli::ExitStatus status = FlushOutput(verb.run());
            // A verb too short to look at the signal still ends as interrupted.
            if (quillon::cli::Interrupted() && status == quillon::cli::ExitStatus::Done)
                status = quillon::cli::ExitStatus::Interrupted;
            trace.Finish(Code(status));
            return Code(status);
        }
        // Checked here rather than by the parser, which would say this
        // before naming an unknown command.
        throw CLI::RequiredError("a command");
    } catch (const CLI::Error& error) {
        const int status = Report(app, error);
        trace.Finish(status);
        return status;
    }
    return Code(quillon::cli::ExitStatus::BadInput);
}
