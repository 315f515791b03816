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
    {"ports", quillon::cli::RunPorts,
     "ports                 list the serial ports found (links included):\n"
     "                      COM name, device path and friendly name, tab-separated"},
    {"firmware", quillon::cli::RunFirmware,
     "firmware --port COMn|DEVICE FILE [--erase] [--repair]\n"
     "                      send a firmware file (Intel HEX, or a .ci/.ldr image) to the device's\n"
     "                      loader as the download dialog does; progress on standard error.\n"
     "                      Exit 0 loaded, 1 failed, 2 bad arguments, 3 port not opened"},
#ifdef QUILLON_CLI_SHEET
    {"sheet", quillon::cli::RunSheet,
     "sheet -o OUT.pdf|OUT.png [--catalogue FILE] [--convert qr|pdf417] [--invert]\n"
     "      [--custom CODE:DESCRIPTION]... [CODE[=VALUE]]...\n"
     "                      a sheet of configuration barcodes, one entry per option CODE of\n"
     "                      the catalogue (default ./config/all.xml) or per --custom entry, in\n"
     "                      the order given; VALUE answers the option's parameter dialog\n"
     "                      (add-text: TEXT or hex:BYTES; M1 block: A|B:SECTOR:BLOCK:KEY;\n"
     "                      output order: any or a symbology name; others: the field text).\n"
     "                      --convert: one QR Code or PDF417 symbol for the whole sheet;\n"
     "                      --invert: white bars on black.  PDF: the printed pages with\n"
     "                      footers; PNG: the document pane.  Exit 2 on bad input."},
#endif
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
