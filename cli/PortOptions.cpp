#include "cli/PortOptions.h"

#include <CLI/CLI.hpp>

namespace quillon::cli {

namespace {

// Generous for any exchange, and small enough that the waits made of it (a
// read-back waits ten times as long) stay within an int of milliseconds.
constexpr int kMaxTimeoutMs = 3'600'000;

}  // namespace

CLI::Validator NonEmptyPort()
{
    return CLI::Validator([](const std::string& port) { return port.empty() ? std::string("names no port") : ""; }, "",
                          "port");
}

CLI::Validator WholeNumberIn(long long least, long long most, const std::string& unit)
{
    const std::string bound = "must be from " + std::to_string(least) + " to " + std::to_string(most) + " " + unit;
    return CLI::Validator(
        [least, most, bound](const std::string& text) {
            // Judged on the text as given, before it becomes a number.
            const bool digits =
                !text.empty() && text.size() <= 18 && text.find_first_not_of("0123456789") == std::string::npos;
            const long long value = digits ? std::stoll(text) : 0;
            return value >= least && value <= most ? std::string() : bound;
        },
        "", "bounded");
}

void AddPortOptions(CLI::App& command, PortArgs& args, bool withJson)
{
    command
        .add_option("--port", args.port,
                    "COMn (through the port links, then the hardware ports), a device path or a USB serial number")
        ->type_name("P")
        ->required()
        ->check(NonEmptyPort());
    AddLineOptions(command, args);
    AddCatalogueOption(command, args.catalogue);
    if (withJson)
        command.add_flag("--json", args.json, "a JSON array of {code, setting, option, value}");
}

void AddLineOptions(CLI::App& command, PortArgs& args)
{
    // The fastest standard speed Linux sets on a serial line.
    constexpr long long kFastestBaud = 4'000'000;
    command.add_option("--baud", args.baud, "line speed (default 115200, the port dialog's)")
        ->type_name("B")
        ->check(WholeNumberIn(1, kFastestBaud, "baud"));
    command
        .add_option("--timeout", args.timeoutMs,
                    "the longest wait for one exchange, in ms (default 3000, at most " + std::to_string(kMaxTimeoutMs) +
                        ", an hour)")
        ->type_name("MS")
        ->check(WholeNumberIn(1, kMaxTimeoutMs, "ms (an hour)"));
}

void AddCatalogueOption(CLI::App& command, std::string& catalogue)
{
    command
        .add_option("--catalogue", catalogue,
                    "the catalogue (default: $QUILLON_CATALOGUE, else the one the window "
                    "would load)")
        ->type_name("FILE")
        ->envname(kCatalogueVariable);
}

}  // namespace quillon::cli
