#include "cli/JsonResults.h"
#include "cli/Verbs.h"
#include "serial/PortDiscovery.h"
#include "serial/PortLinks.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>

namespace quillon::cli {

Verb AddPortsVerb(CLI::App& app)
{
    CLI::App* command = app.add_subcommand("ports", "List the serial ports found.");
    command->footer(
        "One port a line, links included: COM name, device path and friendly name, tab-separated.  "
        "--json: an array of {name, path, description (the USB adapter's product, else \"\"), identity "
        "(its /dev/serial/by-id path, else its USB serial number, else \"\")}.  Writes ~/.config/quillon/ports.ini, the "
        "COM numbers the ports keep.");
    auto json = std::make_shared<bool>(false);
    command->add_flag("--json", *json, "print a JSON array");
    return {command, [json] {
                if (*json) {
                    Json list = Json::array();
                    for (const PortDescription& port : DescribePorts())
                        list.push_back({{"name", PortName(port.number)},
                                        {"path", port.devicePath},
                                        {"description", port.description},
                                        {"identity", port.identity}});
                    PrintJson(list);
                    return ExitStatus::Done;
                }
                for (const auto& port : DiscoverPorts())
                    std::printf("COM%d\t%s\t%s\n", port.number, port.devicePath.c_str(), port.friendlyName.c_str());
                return ExitStatus::Done;
            }};
}

}  // namespace quillon::cli
