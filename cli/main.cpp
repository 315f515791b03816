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
    {"version", quillon::cli::RunVersion,
     "version --port P [--json]\n"
     "                      the device's eight information fields as the version dialog\n"
     "                      labels them, one a line (--json: C1..C8, width, height)"},
    {"image", quillon::cli::RunImage,
     "image --port P -o FILE.bmp [--scale 1|1/2|1/4|1/8|1/16|1/32 | --size WxH]\n"
     "                      an image from the device's camera as a grey BMP; prints\n"
     "                      width, height and bytes"},
    {"listen", quillon::cli::RunListen,
     "listen --port P [--encoding gbk|utf-8] [--count N] [--seconds S] [-o FILE.txt]\n"
     "                      prints each decoded barcode as a UTF-8 line until N records,\n"
     "                      S seconds or Ctrl+C; -o saves them as UTF-16LE text.\n"
     "                      Device commands also take --baud B, --timeout MS and\n"
     "                      --catalogue FILE; exit 1 device failure, 2 bad arguments,\n"
     "                      3 port not opened"},
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
