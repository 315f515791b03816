#include "cli/Verbs.h"
#include "serial/PortDiscovery.h"

#include <CLI/CLI.hpp>

#include <cstdio>

namespace quillon::cli {

Verb AddPortsVerb(CLI::App& app)
{
    CLI::App* command = app.add_subcommand("ports", "List the serial ports found.");
    command->footer("One port a line, links included: COM name, device path and friendly name, tab-separated.  Writes "
                    "~/.config/quillon/ports.ini, the COM numbers the ports keep.");
    return {command, [] {
                for (const auto& port : DiscoverPorts())
                    std::printf("COM%d\t%s\t%s\n", port.number, port.devicePath.c_str(), port.friendlyName.c_str());
                return ExitStatus::Done;
            }};
}

}  // namespace quillon::cli
