#include "cli/Commands.h"

#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

struct Command {
    const char* name;
    int (*run)(const quillon::cli::Args&);
    const char* usage;
};

const Command kCommands[] = {
    {"catalogue", quillon::cli::RunCatalogue,
     "catalogue [FILE]      load a catalogue (default: the one ./config/config.ini names)\n"
     "                      and print its tree and lists as JSON"},
};

void PrintHelp(std::FILE* out)
{
    std::fprintf(out, "usage: quillon-cli COMMAND [ARGS...]\n\ncommands:\n");
    for (const auto& command : kCommands)
        std::fprintf(out, "  %s\n", command.usage);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h") {
        PrintHelp(argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    for (const auto& command : kCommands) {
        if (std::strcmp(argv[1], command.name) == 0)
            return command.run(quillon::cli::Args(argv + 2, argv + argc));
    }
    std::fprintf(stderr, "quillon-cli: unknown command '%s'\n", argv[1]);
    PrintHelp(stderr);
    return 2;
}
