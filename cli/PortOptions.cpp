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

CLI::Validator WholeNumberFrom(long long lowest, long long highest)
{
    const std::string refusal = "must be a whole number from " + std::to_string(lowest) + " to " +
                                std::to_string(highest);
    return CLI::Validator(
        [lowest, highest, refusal](std::string& text) {
            const bool digits = !text.empty() && text.size() <= 18 &&
                                text.find_first_not_of("0123456789") == std::string::npos;
            return digits && std::stoll(text) >= lowest && std::stoll(text) <= highest ? std::string() : refusal;
        },
        "");
}

void AddLineOptions(CLI::App& command, PortArgs& args)
{
    // The fastest standard speed Linux sets on a serial line.
    constexpr long long kFastestBaud = 4000000;
    command.add_option("--baud", args.baud, "line speed (default 115200, the port dialog's)")
        ->type_name("B")
        ->check(WholeNumberFrom(1, kFastestBaud));
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
