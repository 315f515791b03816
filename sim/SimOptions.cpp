#include "sim/SimOptions.h"

#include "sim/CommandInterpreter.h"

#include <charconv>
#include <string_view>

namespace quillon::sim {

namespace {

bool ParseUnsigned(std::string_view text, unsigned& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

bool ParseResolution(std::string_view text, unsigned& width, unsigned& height)
{
    const auto x = text.find_first_of("xX");
    return x != std::string_view::npos && ParseUnsigned(text.substr(0, x), width) &&
           ParseUnsigned(text.substr(x + 1), height) && width > 0 && height > 0 && width <= 0xFFFF && height <= 0xFFFF;
}

}  // namespace

std::string ParseOptions(int argc, const char* const* argv, SimOptions& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        const auto value = [&](std::string_view& out) {
            if (i + 1 >= argc)
                return false;
            out = argv[++i];
            return true;
        };
        std::string_view arg;
        if (option == "--help" || option == "-h") {
            options.help = true;
        } else if (option == "--version") {
            options.version = true;
        } else if (option == "--no-pace") {
            options.pace = false;
        } else if (option == "--com") {
            unsigned com = 0;
            if (!value(arg) || !ParseUnsigned(arg, com) || com == 0 || com > 255)
                return "--com wants a number from 1 to 255";
            options.com = static_cast<int>(com);
        } else if (option == "--baud") {
            if (!value(arg) || !ParseUnsigned(arg, options.baud) || options.baud < 10)
                return "--baud wants a line speed such as 115200";
        } else if (option == "--read-back-hold") {
            if (!value(arg) || !ParseUnsigned(arg, options.readBackHoldMs) || options.readBackHoldMs > 60000)
                return "--read-back-hold wants milliseconds from 0 to 60000";
        } else if (option == "--resolution") {
            if (!value(arg) || !ParseResolution(arg, options.width, options.height))
                return "--resolution wants WIDTHxHEIGHT, e.g. 640x480";
        } else if (option == "--encoding") {
            const auto encoding = value(arg) ? ParseEncoding(arg) : std::nullopt;
            if (!encoding)
                return "--encoding wants gbk or utf8";
            options.encoding = *encoding;
        } else if (option == "--fault") {
            if (!value(arg) || arg.empty())
                return "--fault wants NAME or NAME=PARAMETER";
            const auto equals = arg.find('=');
            options.faults.emplace_back(std::string(arg.substr(0, equals)), equals == std::string_view::npos
                                                                                ? std::string()
                                                                                : std::string(arg.substr(equals + 1)));
        } else if (option == "--catalogue" || option == "--control" || option == "--firmware-out" ||
                   option == "--replay") {
            if (!value(arg) || arg.empty())
                return std::string(option) + " wants a path";
            (option == "--catalogue" ? options.catalogue
             : option == "--control" ? options.controlPath
             : option == "--replay"  ? options.replay
                                     : options.firmwareOut) = arg;
        } else {
            return "unknown option " + std::string(option) + " (try --help)";
        }
    }
    return {};
}

std::string UsageText()
{
    return "Usage: quillon-sim [OPTION]...\n"
           "Plays a barcode scanner on a pseudo-terminal, published as COMn in the port-link\n"
           "folder ($QUILLON_PORT_LINKS, else $XDG_RUNTIME_DIR/quillon/ports), for Quillon.\n"
           "\n"
           "  --com N              publish as COMN (default 9)\n"
           "  --catalogue FILE     settings catalogue (default: the one Quillon would load)\n"
           "  --baud N             line speed; replies go out at N/10 bytes a second (default 115200)\n"
           "  --no-pace            send replies as fast as the tool reads them\n"
           "  --read-back-hold MS  send the frame that closes a read-back (24 71 81) once the tool's\n"
           "                       requests have stopped for MS (default 100); 0 answers it in turn\n"
           "  --control PATH       also read control commands from a FIFO created at PATH\n"
           "  --firmware-out FILE  save each firmware image received to FILE\n"
           "  --fault NAME[=ARG]   arm a fault at start (repeatable; names below)\n"
           "  --encoding gbk|utf8  output encoding of scanned texts (default gbk)\n"
           "  --resolution WxH     camera resolution (default 640x480)\n"
           "  --replay FILE        play the device's side of a wire trace (quillon --trace): answer\n"
           "                       each frame with what the device sent after it, with the recorded\n"
           "                       delays unless --no-pace; report on stderr every frame the trace\n"
           "                       does not have next, and end once the trace is played and the port\n"
           "                       closed (status 1 when a frame differed)\n"
           "  --help               this text\n"
           "  --version            the version\n"
           "\n" +
           CommandInterpreter::Help() +
           "\nThe device answers: connect probe 23 10 40 -> 24 10 40 01; reads 23 KEY -> 24 KEY VALUE;\n"
           "setting writes -> 33 76 42 00; information 43 02 C1..C8 -> 44 02 Cn N TEXT; image\n"
           "60 W W H H 00 00 -> 61 header + W*H grey pixels (value x + 2y, top row first); the\n"
           "firmware loader: 32 77 03 -> 33 77 03 00 00, then Intel HEX records or a raw image.\n"
           "What the device sends while no program has the port open is lost, as on a real line.\n";
}

}  // namespace quillon::sim
