#include "cli/DeviceLink.h"
#include "cli/JsonResults.h"
#include "cli/PortOptions.h"
#include "cli/Verbs.h"
#include "profile/ProfileReader.h"
#include "profile/ReportedSettings.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>

namespace quillon::cli {

namespace {

struct DiffArgs : PortArgs {
    std::string profile;
};

ExitStatus RunDiff(const DiffArgs& args)
{
    DeviceLink link(args);
    if (!link.LoadCatalogue())
        return ExitStatus::BadInput;
    const ProfileRead profile = ReadProfile(args.profile, link.Doc().catalogue.treeNodes);
    if (!profile.error.empty())
        throw CLI::ValidationError(profile.error);
    if (const ExitStatus status = link.OpenAndConnect(true); status != ExitStatus::Done) {
        if (args.json)
            PrintJson({{"port", args.port},
                       {"outcome", "failed"},
                       {"reason", link.FailureReason()},
                       {"differences", Json::array()}});
        return status;
    }
    const std::vector<SettingDifference> differences = DifferencesFromDevice(profile.settings, link.Report());
    if (args.json) {
        PrintJson({{"port", args.port},
                   {"outcome", differences.empty() ? "same" : "differs"},
                   {"differences", DifferencesJson(differences)}});
    } else {
        for (const SettingDifference& d : differences)
            std::printf("%s\t%s\t%s\t%s\n", d.code.c_str(), d.setting.c_str(), d.device.c_str(), d.profile.c_str());
    }
    return differences.empty() ? ExitStatus::Done : ExitStatus::DeviceOrOutcome;
}

}  // namespace

Verb AddDiffVerb(CLI::App& app)
{
    CLI::App* command = app.add_subcommand("diff", "Show where the device differs from a profile.");
    command->footer("Connects, reads every setting back and prints each setting of FILE the device does not hold, "
                    "one a line, tab-separated: code, setting, the device's value and the profile's.  For an option "
                    "without a value the values are option names (the device's current one); a value is shown in "
                    "the form its dialog takes, else as the device's bytes; " +
                    std::string(kNotReported) +
                    " when the device did not report the setting.  Status 1 when some settings differ, or (with the "
                    "reason on standard error and nothing on standard output) no answer or an unfinished read.");
    auto args = std::make_shared<DiffArgs>();
    command->add_option("FILE", args->profile, "the profile; - reads standard input")->required();
    AddPortOptions(*command, *args, false);
    command->add_flag("--json", args->json,
                      "print one JSON object: {port, outcome (same, differs, failed), reason "
                      "(when failed), differences: [{code, setting, device (null when not "
                      "reported), profile}]}");
    return {command, [args] { return RunDiff(*args); }};
}

}  // namespace quillon::cli
