#include "cli/DeviceLink.h"
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

// The device's settings as a profile: 0, or 1 when the file cannot be written.
int WriteDeviceProfile(const DeviceLink& link, const std::string& path)
{
    const ReportedProfile profile = ProfileOfDevice(link.Report());
    if (!profile.leftOut.empty()) {
        std::string codes;
        for (const std::string& code : profile.leftOut)
            codes += " " + code;
        std::fprintf(stderr, "quillon-cli read: left out %zu options whose device value no input of their dialog "
                             "gives:%s\n", profile.leftOut.size(), codes.c_str());
    }
    if (const std::string error = WriteProfile(path, profile.settings); !error.empty()) {
        std::fprintf(stderr, "quillon-cli read: cannot write %s: %s\n", path.c_str(), error.c_str());
        return kExitDevice;
    }
    return 0;
}

}  // namespace

Verb AddReadVerb(CLI::App& app)
{
    CLI::App* command = app.add_subcommand("read", "Connect and read every setting back from the device.");
    command->footer("Prints the options the device reports as set, in tree order, one a line: code, setting, "
                    "option and, for settings with a value, the value, tab-separated.  With -o, writes them as a "
                    "profile instead (the values in the form their dialogs take, as sheet and apply read them); an "
                    "option whose device value no dialog input gives is left out and named on standard error.\n"
                    "Exit status: 0 read, 1 no answer, an unfinished read or a profile that cannot be written, "
                    "2 wrong arguments, 3 the port cannot be opened.");
    auto args = std::make_shared<ReadArgs>();
    AddPortOptions(*command, *args, true);
    command->add_option("-o,--output", args->output, "write the settings as a profile to FILE")
        ->type_name("FILE")
        ->excludes("--json");
    return {command, [args] {
                DeviceLink link(*args);
                if (!link.LoadCatalogue())
                    return 1;
                if (const int status = link.OpenAndConnect(true); status != 0)
                    return status;
                if (!args->output.empty())
                    return WriteDeviceProfile(link, args->output);
                PrintReportedOptions(ReportedOptions(link.Doc(), link.Tree()), args->json);
                return 0;
            }};
}

}  // namespace quillon::cli
