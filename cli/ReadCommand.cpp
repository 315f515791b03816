#include "cli/DeviceLink.h"
#include "cli/OutputTarget.h"
#include "cli/PortOptions.h"
#include "cli/Verbs.h"
#include "profile/ProfileWriter.h"
#include "profile/ReportedSettings.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>

namespace quillon::cli {

namespace {

struct ReadArgs : PortArgs {
    std::string output;
};

// The device's settings as a profile: Done, or DeviceOrOutcome when the file cannot be written.
ExitStatus WriteDeviceProfile(const DeviceLink& link, const std::string& path)
{
    const ReportedProfile profile = ProfileOfDevice(link.Report());
    if (!profile.leftOut.empty()) {
        std::string codes;
        for (const std::string& code : profile.leftOut)
            codes += " " + code;
        Complain(OutputName(path) + ": left out " + std::to_string(profile.leftOut.size()) +
                 (profile.leftOut.size() == 1 ? " option" : " options") +
                 " whose device value no input of its dialog gives:" + codes);
    }
    if (const std::string error = WriteOutput(path, ProfileText(profile.settings)); !error.empty()) {
        Complain(OutputName(path) + ": " + error);
        return ExitStatus::DeviceOrOutcome;
    }
    return ExitStatus::Done;
}

}  // namespace

Verb AddReadVerb(CLI::App& app)
{
    CLI::App* command = app.add_subcommand("read", "Connect and read every setting back from the device.");
    command->footer("Prints the options the device reports as set, in tree order, one a line: code, setting, "
                    "option and, for settings with a value, the value, tab-separated.  With -o, writes them as a "
                    "profile instead (the values in the form their dialogs take, as sheet and apply read them); an "
                    "option whose device value no dialog input gives is left out and named on standard error.");
    auto args = std::make_shared<ReadArgs>();
    AddPortOptions(*command, *args, true);
    command->add_option("-o,--output", args->output, "write the settings as a profile to FILE (- for standard output)")
        ->type_name("FILE")
        ->excludes("--json");
    return {command, [args] {
                if (!args->output.empty() && !OutputAccepted(args->output))
                    return ExitStatus::BadInput;
                DeviceLink link(*args);
                if (!link.LoadCatalogue())
                    return ExitStatus::BadInput;
                if (const ExitStatus status = link.OpenAndConnect(true); status != ExitStatus::Done)
                    return status;
                if (!args->output.empty())
                    return WriteDeviceProfile(link, args->output);
                PrintReportedOptions(ReportedOptions(link.Doc(), link.Tree()), args->json);
                return ExitStatus::Done;
            }};
}

}  // namespace quillon::cli
