#include "cli/Commands.h"
#include "cli/DeviceLink.h"
#include "device/DecodedOutputFile.h"

#include <cstdio>

namespace quillon::cli {

namespace {

constexpr const char* kUsage =
    "usage: quillon-cli listen --port P [--encoding gbk|utf-8] [--count N] [--seconds S] [-o FILE.txt]\n"
    "                          [--baud B]\n";

struct ListenArgs {
    OutputEncoding encoding = OutputEncoding::Gbk;
    std::optional<long long> count;
    std::optional<long long> seconds;
    std::string output;
};

std::string ParseListenArgs(const std::vector<std::string>& rest, ListenArgs& out)
{
    for (std::size_t i = 0; i < rest.size(); i += 2) {
        if (i + 1 >= rest.size())
            return rest[i] + " wants a value";
        const std::string& name = rest[i];
        const std::string& value = rest[i + 1];
        if (name == "--encoding") {
            if (value != "gbk" && value != "utf-8" && value != "utf8")
                return "--encoding wants gbk or utf-8";
            out.encoding = value == "gbk" ? OutputEncoding::Gbk : OutputEncoding::Utf8;
        } else if (name == "--count" || name == "--seconds") {
            const auto number = ParseNumber(value, 1, 1000000000);
            if (!number)
                return name + " wants a positive number";
            (name == "--count" ? out.count : out.seconds) = number;
        } else if (name == "-o") {
            out.output = value;
        } else {
            return "unknown argument " + name;
        }
    }
    return {};
}

}  // namespace

int RunListen(const Args& args)
{
    LinkOptions options;
    std::vector<std::string> rest;
    ListenArgs listen;
    std::string error = ParseLinkOptions(args, options, rest);
    if (error.empty())
        error = ParseListenArgs(rest, listen);
    if (!error.empty()) {
        std::fprintf(stderr, "quillon-cli listen: %s\n%s", error.c_str(), kUsage);
        return kExitArguments;
    }
    DeviceLink link(options);
    if (const int status = link.Open())
        return status;
    link.doc.decodedText.SetEncoding(listen.encoding);
    CaptureEvents events;
    std::size_t printed = 0;
    const auto& lines = link.doc.decodedLines;
    events.onDecoded = [&] {
        for (; printed < lines.size(); ++printed)
            std::printf("%s\n", lines[printed].lineText.c_str());
        std::fflush(stdout);
    };
    DeviceCapture capture(link.doc, link.frames, link.dispatcher, link.replyRoute, events);
    link.dispatcher.DiscardInput();
    link.replyRoute = static_cast<int>(ReplyRoute::DecodedOutput);

    std::optional<DeviceLink::Clock::time_point> deadline;
    if (listen.seconds)
        deadline = DeviceLink::Clock::now() + std::chrono::seconds(*listen.seconds);
    const DeviceLink::End end = link.Pump(
        [&] { return listen.count && lines.size() >= static_cast<std::size_t>(*listen.count); }, deadline, false);

    if (!listen.output.empty()) {
        if (const char* message = DecodedSaveMessage(SaveDecodedOutput(listen.output, lines))) {
            std::fprintf(stderr, "quillon-cli listen: %s\n", message);
            return kExitDevice;
        }
    }
    return end == DeviceLink::End::PortFailed ? kExitDevice : 0;
}

}  // namespace quillon::cli
