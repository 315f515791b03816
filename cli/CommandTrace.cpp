#include "cli/CommandTrace.h"

#include <CLI/CLI.hpp>

#include <cstdio>

namespace quillon::cli {

namespace {

// The command line as a shell would take it back, under the program's own
// name rather than the path it was started by.
std::string CommandLine(int argc, const char* const* argv)
{
    std::string line = "quillon-cli";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        line += ' ';
        if (!arg.empty() &&
            arg.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-_=.,/:+@%") ==
                std::string::npos) {
            line += arg;
            continue;
        }
        line += '\'';
        for (const char c : arg)
            line += c == '\'' ? std::string("'\\''") : std::string(1, c);
        line += '\'';
    }
    return line;
}

}  // namespace

void CommandTrace::AddOption(CLI::App& command)
{
    command.add_option("--trace", path_, "write every byte sent and received to FILE (also $QUILLON_TRACE)")
        ->type_name("FILE");
}

void CommandTrace::Start(int argc, const char* const* argv)
{
    const std::string path = ProgramTrace::RequestedPath(path_);
    if (path.empty())
        return;
    const std::string error =
        trace_.Start(path, "quillon-cli", CommandLine(argc, argv),
                     [](const std::string& message) { std::fprintf(stderr, "quillon-cli: %s\n", message.c_str()); });
    if (!error.empty())
        std::fprintf(stderr, "quillon-cli: trace %s; going on without it\n", error.c_str());
}

void CommandTrace::Finish(int status)
{
    trace_.Stop("exit status " + std::to_string(status));
}

}  // namespace quillon::cli
