#include "sim/CommandInterpreter.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace quillon::sim {

namespace {

constexpr double kMegabyte = 1024.0 * 1024.0;

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

// First word and the rest, trimmed.
std::pair<std::string_view, std::string_view> SplitWord(std::string_view text)
{
    text = Trim(text);
    const auto space =
        std::find_if(text.begin(), text.end(), [](char c) { return std::isspace(static_cast<unsigned char>(c)); });
    const auto length = static_cast<std::size_t>(space - text.begin());
    return {text.substr(0, length), Trim(text.substr(length))};
}

std::string Lower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return lower;
}

}  // namespace

std::optional<TextEncoding> ParseEncoding(std::string_view name)
{
    const std::string lower = Lower(name);
    if (lower == "gbk")
        return TextEncoding::Gbk;
    if (lower == "utf8" || lower == "utf-8")
        return TextEncoding::Utf8;
    return std::nullopt;
}

std::string CommandInterpreter::Help()
{
    return "Control commands (standard input or the --control FIFO, one per line):\n"
           "  scan TEXT         send TEXT as a decoded barcode, unframed, in the output encoding\n"
           "  scanhex HEX       send the bytes HEX (e.g. C4E3BAC3) as a decoded barcode\n"
           "  encoding gbk|utf8 choose the output encoding of scan (default gbk)\n"
           "  fault NAME [ARG]  arm a fault (names below); fault clear disarms them all\n"
           "  flood MB          send MB megabytes of noise (fractions allowed); also: fault flood MB\n"
           "  unplug            close the pseudo-terminal, as if the cable were pulled; also: fault unplug\n"
           "  plug              open a new pseudo-terminal under the same COM name\n"
           "  status            show the port, the armed faults and the encoding\n"
           "  help              this list\n"
           "  quit              remove the COM link and end\n"
           "Faults:\n" +
           FaultPlan::Names();
}

std::string CommandInterpreter::Execute(std::string_view line)
{
    const auto [word, rest] = SplitWord(line);
    const std::string command = Lower(word);
    if (command.empty())
        return "type help for the commands";
    if (command == "scan")
        return Scan(rest);
    if (command == "scanhex")
        return ScanHex(rest);
    if (command == "encoding")
        return SetEncoding(rest);
    if (command == "fault")
        return Fault(rest);
    if (command == "flood")
        return Flood(rest);
    if (command == "unplug") {
        link_.Unplug();
        return "unplugged";
    }
    if (command == "plug") {
        const std::string error = link_.Plug();
        return error.empty() ? "plugged in" : "error: " + error;
    }
    if (command == "status")
        return link_.Status() + "; faults: " + device_.Faults().Describe() +
               "; encoding: " + (encoding_ == TextEncoding::Gbk ? "gbk" : "utf8");
    if (command == "help") {
        std::string help = Help();
        help.pop_back();  // the caller ends the answer's line
        return help;
    }
    if (command == "quit" || command == "exit") {
        link_.Quit();
        return "bye";
    }
    return "error: unknown command \"" + command + "\" (type help)";
}

std::string CommandInterpreter::Scan(std::string_view text)
{
    // Only the command word's own blank is eaten: a barcode may hold spaces.
    if (text.empty())
        return "error: scan wants a text";
    const auto bytes = EncodeText(text, encoding_);
    if (!bytes)
        return "error: the text cannot be written in the output encoding";
    device_.SendDecoded(Bytes(bytes->begin(), bytes->end()));
    return "scanned " + std::to_string(bytes->size()) + " bytes";
}

std::string CommandInterpreter::ScanHex(std::string_view hex)
{
    std::string digits;
    std::copy_if(hex.begin(), hex.end(), std::back_inserter(digits),
                 [](char c) { return !std::isspace(static_cast<unsigned char>(c)); });
    const auto bytes = ParseHex(digits);
    if (!bytes || bytes->empty())
        return "error: scanhex wants pairs of hex digits";
    device_.SendDecoded(*bytes);
    return "scanned " + std::to_string(bytes->size()) + " bytes";
}

std::string CommandInterpreter::SetEncoding(std::string_view name)
{
    const auto encoding = ParseEncoding(name);
    if (!encoding)
        return "error: encoding is gbk or utf8";
    encoding_ = *encoding;
    return "encoding " + Lower(name);
}

std::string CommandInterpreter::Fault(std::string_view args)
{
    const auto [name, arg] = SplitWord(args);
    const std::string fault = Lower(name);
    if (fault == "clear" || fault == "none") {
        device_.Faults().Clear();
        return "faults cleared";
    }
    if (fault == "flood")
        return Flood(arg);
    if (fault == "unplug") {
        link_.Unplug();
        return "unplugged";
    }
    const std::string error = device_.Faults().Arm(fault, arg);
    return error.empty() ? "armed: " + device_.Faults().Describe() : "error: " + error;
}

std::string CommandInterpreter::Flood(std::string_view megabytes)
{
    double size = 0;
    const auto text = Trim(megabytes);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), size);
    if (error != std::errc() || end != text.data() + text.size() || !(size > 0) || size > 4096)
        return "error: flood wants a size in megabytes (up to 4096)";
    const auto bytes = static_cast<std::uint64_t>(std::llround(size * kMegabyte));
    device_.Flood(bytes);
    return "flooding " + std::to_string(bytes) + " bytes of noise";
}

}  // namespace quillon::sim
