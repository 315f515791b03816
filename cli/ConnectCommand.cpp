#include "cli/DeviceLink.h"
#include "cli/PortOptions.h"
#include "cli/Verbs.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>

namespace quillon::cli {

Verb AddConnectVerb(CLI::App& app)
{
    CLI::App* command = app.add_subcommand("connect", "Open a port and probe for the device.");
    command->footer("Prints the information bar's state text (\"COM9，联机\", or the device path).\n"
                    "Exit status: 0 connected, 1 no answer, 2 wrong arguments, 3 the port cannot be opened.");
    auto args = std::make_shared<PortArgs>();
    AddPortOptions(*command, *args, false);
    return {command, [args] {
                DeviceLink link(*args);
                if (!link.LoadCatalogue())
                    return 1;
                if (const int status = link.OpenAndConnect(false); status != 0)
                    return status;
                std::printf("%s\n", link.StateText().c_str());
                return 0;
            }};
}

}  // namespace quillon::cli
