#include "cli/PortOptions.h"

#include <CLI/CLI.hpp>

namespace quillon::cli {

void AddPortOptions(CLI::App& command, PortArgs& args, bool withJson)
{
    command.add_option("--port", args.port, "COMn (through the port links, then the hardware ports) or a device path")
        ->type_name("P")
        ->required();
    AddLineOptions(command, args);
    if (withJson)
        command.add_flag("--json", args.json, "a JSON array of {code, setting, option, value}");
}

void AddLineOptions(CLI::App& command, PortArgs& args)
{
    command.add_option("--baud", args.baud, "line speed (default 115200, the port dialog's)")
        ->type_name("B")
        ->check(CLI::PositiveNumber);
    command.add_option("--timeout", args.timeoutMs, "the longest wait for one exchange, in ms (default 3000)")
        ->type_name("MS")
        ->check(CLI::PositiveNumber);
}

void AddCaptureOptions(CLI::App& command, PortArgs& args)
{
    AddPortOptions(command, args, false);
    command.add_option("--catalogue", args.catalogue, "the catalogue (default: the one the window would load)")
        ->type_name("FILE");
}

}  // namespace quillon::cli
