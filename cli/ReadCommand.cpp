#include "cli/DeviceLink.h"
#include "cli/PortOptions.h"
#include "cli/Verbs.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace quillon::cli {

Verb AddReadVerb(CLI::App& app)
{
    CLI::App* command = app.add_subcommand("read", "Connect and read every setting back from the device.");
    command->footer("Prints the options the device reports as set, in tree order, one a line: code, setting, "
                    "option and, for settings with a value, the value, tab-separated.\n"
                    "Exit status: 0 read, 1 no answer or an unfinished read, 2 wrong arguments, 3 the port "
                    "cannot be opened.");
    auto args = std::make_shared<PortArgs>();
    AddPortOptions(*command, *args, true);
    return {command, [args] {
                DeviceLink link(*args);
                if (!link.LoadCatalogue())
                    return 1;
                if (const int status = link.OpenAndConnect(true); status != 0)
                    return status;
                PrintReportedOptions(ReportedOptions(link.Doc(), link.Tree()), args->json);
                return 0;
            }};
}

}  // namespace quillon::cli
