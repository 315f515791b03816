#include "base/ShownText.h"
#include "cli/DeviceLink.h"
#include "cli/PortOptions.h"
#include "cli/SettingWrites.h"
#include "cli/Verbs.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <memory>

namespace quillon::cli {

namespace {

struct SetArgs : PortArgs {
    std::vector<std::string> codes;
};

ExitStatus RunSet(const SetArgs& args)
{
    DeviceLink link(args);
    if (!link.LoadCatalogue())
        return ExitStatus::BadInput;
    std::vector<ProfileSetting> settings(args.codes.size());
    std::ranges::transform(args.codes, settings.begin(), SettingArgument);
    const std::vector<SettingWrite> writes = PlanWrites(settings, link.Doc().catalogue.treeNodes);
    if (const ExitStatus status = link.OpenAndConnect(true); status != ExitStatus::Done)
        return status;
    std::size_t written = 0;
    for (const SettingWrite& write : writes) {
        if (const ExitStatus status = link.Write(write.recordIndex, write.value); status != ExitStatus::Done) {
            if (status == ExitStatus::Interrupted)
                Complain("interrupted after " + std::to_string(written) + " of " + std::to_string(writes.size()) +
                         " settings were written");
            return status;
        }
        ++written;
    }
    PrintReportedOptions(ReportedOptions(link.Doc(), link.Tree()), args.json);
    return ExitStatus::Done;
}

}  // namespace

Verb AddSetVerb(CLI::App& app)
{
    CLI::App* command = app.add_subcommand("set", "Write settings to the device as the window does online.");
    command->footer(
        Shown("Connects, reads back, then writes each option as the tree does with \"修改设备参数\" ticked, "
              "waiting for each reply and the read-back it starts; then prints what read prints.  VALUE "
              "answers the option's parameter dialog as for sheet; a wrong CODE or VALUE sends nothing.  A HID / "
              "HID-POS / baud-rate report is status 1."));
    auto args = std::make_shared<SetArgs>();
    AddPortOptions(*command, *args, true);
    command->add_option("CODE", args->codes, "an option code of the catalogue, with its dialog's value")
        ->type_name("CODE[=VALUE]")
        ->required();
    return {command, [args] { return RunSet(*args); }};
}

}  // namespace quillon::cli
