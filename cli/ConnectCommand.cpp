#include "base/ShownText.h"
#include "cli/DeviceLink.h"
#include "cli/PortOptions.h"
#include "cli/Verbs.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>

namespace quillon::cli {

Verb AddConnectVerb(CLI::App& app)
{
    CLI::App* command = app.add_subcommand("connect", "Open a port, probe for the device and read its settings.");
    command->footer(Shown("Prints the information bar's state text (\"COM9，联机\", or the device path) once the\n"
                          "read-back that a connection starts has ended, so the device is not left answering a\n"
                          "closed port."));
    auto args = std::make_shared<PortArgs>();
    AddPortOptions(*command, *args, false);
    return {command, [args] {
                DeviceLink link(*args);
                if (!link.LoadCatalogue())
                    return ExitStatus::BadInput;
                if (const ExitStatus status = link.OpenAndConnect(true); status != ExitStatus::Done)
                    return status;
                std::printf("%s\n", Shown(link.StateText()).c_str());
                return ExitStatus::Done;
            }};
}

}  // namespace quillon::cli
