#include "cli/DeviceLink.h"
#include "cli/PortOptions.h"
#include "cli/Verbs.h"
#include "device/DecodedOutputFile.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>

namespace quillon::cli {

namespace {

struct ListenArgs {
    PortArgs link;
    std::string encoding = "gbk";
    long long count = 0;    // 0: no limit
    long long seconds = 0;  // 0: no limit
    std::string output;
    bool reconnect = false;
};

}  // namespace

int Listen(const ListenArgs& listen)
{
    DeviceLink link(listen.link);
    if (const int status = link.LoadAndOpen())
        return status;
    link.Doc().decodedText.SetEncoding(listen.encoding == "gbk" ? OutputEncoding::Gbk : OutputEncoding::Utf8);
    CaptureEvents events;
    std::size_t printed = 0;
    const auto& lines = link.Doc().decodedLines;
    events.onDecoded = [&] {
        for (; printed < lines.size(); ++printed)
            std::printf("%s\n", lines[printed].lineText.c_str());
        std::fflush(stdout);
    };
    DeviceCapture capture(link.Doc(), link.Session().Frames(), link.Session().Dispatcher(), link.Link(),
                          events);
    // Made while the port is there, so that it knows what to wait for.
    std::optional<PortReturnWait> returnWait;
    if (listen.reconnect)
        returnWait.emplace(link.Doc().portNumber);

    std::optional<DeviceLink::Clock::time_point> deadline;
    if (listen.seconds > 0)
        deadline = DeviceLink::Clock::now() + std::chrono::seconds(listen.seconds);
    const auto enough = [&] { return listen.count > 0 && lines.size() >= static_cast<std::size_t>(listen.count); };
    // From here on what the device sends is a record; a line on stderr says
    // when that is, so that a script does not have the device scan too early.
    const auto listenFromHere = [&](const char* what) {
        link.SetRestingRoute(ReplyRoute::DecodedOutput);
        link.Session().DiscardInput();
        std::fprintf(stderr, "quillon-cli listen: %s on %s\n", what, listen.link.port.c_str());
    };
    listenFromHere("listening");
    DeviceLink::End end = link.Pump(enough, deadline, false);
    while (end == DeviceLink::End::PortFailed && returnWait) {
        end = link.AwaitReturn(*returnWait, deadline);
        if (end != DeviceLink::End::Done)
            break;
        listenFromHere("back, listening again");
        end = link.Pump(enough, deadline, false);
    }

    if (!listen.output.empty()) {
        if (const char* message = DecodedSaveMessage(SaveDecodedOutput(listen.output, lines))) {
            std::fprintf(stderr, "quillon-cli listen: %s\n", message);
            return kExitDevice;
        }
    }
    return end == DeviceLink::End::PortFailed ? kExitDevice : 0;
}

Verb AddListenVerb(CLI::App& app)
{
    CLI::App* command = app.add_subcommand("listen", "Print the barcodes the device decodes.");
    command->footer("Each record as a line of UTF-8, as it arrives, until N records, S seconds or Ctrl+C; -o "
                    "saves them as the window's \"解码保存\" does (UTF-16LE, CR LF per record).  A line on stderr "
                    "says when listening starts.  With --reconnect an unplugged device that is back within a minute is "
                    "opened again, with a line on stderr for each."
                    "\nExit status: 0, 1 port failure (with --reconnect: not back in time) or file not written, 2 wrong "
                    "arguments, 3 port not opened.");
    auto args = std::make_shared<ListenArgs>();
    AddCaptureOptions(*command, args->link);
    command->add_option("--encoding", args->encoding, "what the device sends (default gbk)")
        ->type_name("gbk|utf-8")
        ->transform(CLI::IsMember({"gbk", "utf-8", "utf8"}, CLI::ignore_case));
    command->add_option("--count", args->count, "stop after N records")->type_name("N")->check(CLI::PositiveNumber);
    command->add_option("--seconds", args->seconds, "stop after S seconds")->type_name("S")->check(CLI::PositiveNumber);
    command->add_option("-o,--output", args->output, "also save the records here")->type_name("FILE.txt");
    command->add_flag("--reconnect", args->reconnect,
                      "when the device is unplugged, wait a minute for it to come back and go on listening");
    return {command, [args] { return Listen(*args); }};
}

}  // namespace quillon::cli
