#include "base/ShownText.h"
#include "cli/DeviceLink.h"
#include "cli/OutputTarget.h"
#include "cli/PortOptions.h"
#include "cli/Verbs.h"
#include "device/DecodedOutputFile.h"

#include <CLI/CLI.hpp>

#include <unistd.h>

#include <cstdio>
#include <memory>

namespace quillon::cli {

namespace {

// Beyond any capture, and far from where a deadline of the clock overflows.
constexpr long long kMaxListenSeconds = 366LL * 24 * 3600;

struct ListenArgs {
    PortArgs link;
    std::string encoding = "gbk";
    long long count = 0;    // 0: no limit
    long long seconds = 0;  // 0: no limit
    std::string output;
    bool reconnect = false;
};

}  // namespace

ExitStatus Listen(const ListenArgs& listen)
{
    // Made first, so that a path that cannot be written is known before
    // anyone scans; with "-" the file's bytes are standard output.
    const bool toStdout = listen.output == "-";
    std::optional<DecodedRecordWriter> file;
    if (!listen.output.empty()) {
        file.emplace();
        if (toStdout)
            file->Attach(STDOUT_FILENO);
        else if (const std::string error = file->Open(listen.output); !error.empty()) {
            Complain(OutputName(listen.output) + ": " + kDecodedFileFailedText + " " + error);
            return ExitStatus::BadInput;
        }
    }
    // Until listening starts the file keeps what it held; a file made for
    // this run and never begun goes again.
    const auto abandon = [&](ExitStatus status) {
        if (file)
            file->Abandon();
        return status;
    };
    DeviceLink link(listen.link);
    if (const ExitStatus status = link.LoadAndOpen(); status != ExitStatus::Done)
        return abandon(status);
    if (file) {
        if (const std::string error = file->Begin(); !error.empty()) {
            Complain(OutputName(listen.output) + ": " + kDecodedFileFailedText + " " + error);
            return abandon(ExitStatus::BadInput);
        }
    }
    link.Doc().decodedText.SetEncoding(listen.encoding == "gbk" ? OutputEncoding::Gbk : OutputEncoding::Utf8);
    CaptureEvents events;
    std::size_t printed = 0;
    std::string writeError;
    const auto& lines = link.Doc().decodedLines;
    events.onDecoded = [&] {
        for (; printed < lines.size() && writeError.empty(); ++printed) {
            if (file && !(writeError = file->Append(lines[printed].lineText)).empty())
                break;
            if (!toStdout)
                std::printf("%s\n", lines[printed].lineText.c_str());
        }
        std::fflush(stdout);
    };
    DeviceCapture capture(link.Doc(), link.Session().Frames(), link.Session().Dispatcher(), link.Link(), events);
    // Made while the port is there, so that it knows what to wait for.
    std::optional<PortReturnWait> returnWait;
    if (listen.reconnect)
        returnWait.emplace(link.Doc().portNumber);

    std::optional<DeviceLink::Clock::time_point> deadline;
    if (listen.seconds > 0)
        deadline = DeviceLink::Clock::now() + std::chrono::seconds(listen.seconds);
    const auto enough = [&] {
        return !writeError.empty() || (listen.count > 0 && lines.size() >= static_cast<std::size_t>(listen.count));
    };
    // From here on what the device sends is a record; a line on stderr says
    // when that is, so that a script does not have the device scan too early.
    const auto listenFromHere = [&](const char* what) {
        link.SetRestingRoute(ReplyRoute::DecodedOutput);
        link.Session().DiscardInput();
        Complain(std::string(what) + " on " + listen.link.port);
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
    if (end != DeviceLink::End::Done)
        capture.EndDecodedRecord();  // what came before the end is a record too

    if (file && writeError.empty())
        writeError = file->Close();
    const std::string captured = std::to_string(printed) + (printed == 1 ? " record" : " records");
    if (!writeError.empty()) {
        Complain(OutputName(listen.output) + ": " + kDecodedWriteFailedText + " " + writeError + "; it keeps the " +
                 captured + " before");
        return ExitStatus::DeviceOrOutcome;
    }
    if (end == DeviceLink::End::Interrupted) {
        Complain("interrupted after " + captured + (file ? ", all in " + OutputName(listen.output) : ""));
        return ExitStatus::Interrupted;
    }
    return end == DeviceLink::End::PortFailed ? ExitStatus::DeviceOrOutcome : ExitStatus::Done;
}

Verb AddListenVerb(CLI::App& app)
{
    CLI::App* command = app.add_subcommand("listen", "Print the barcodes the device decodes.");
    command->footer(
        Shown("Each record as a line of UTF-8, as it arrives, until N records, S seconds, Ctrl+C or SIGTERM; -o "
              "saves them as the window's \"解码保存\" does (UTF-16LE, CR LF per record), each record as it "
              "comes, so that every ending keeps what was captured.  A line on stderr "
              "says when listening starts.  With --reconnect an unplugged device that is back within a minute is "
              "opened again, with a line on stderr for each.  Status 1 for a lost port (with --reconnect: not back "
              "in time)."));
    auto args = std::make_shared<ListenArgs>();
    AddPortOptions(*command, args->link, false);
    command->add_option("--encoding", args->encoding, "what the device sends (default gbk)")
        ->type_name("gbk|utf-8")
        ->transform(CLI::IsMember({"gbk", "utf-8", "utf8"}, CLI::ignore_case));
    command->add_option("--count", args->count, "stop after N records")
        ->type_name("N")
        ->check(WholeNumberIn(1, 1'000'000'000, "records"));
    command->add_option("--seconds", args->seconds, "stop after S seconds (at most a year)")
        ->type_name("S")
        ->check(WholeNumberIn(1, kMaxListenSeconds, "seconds (a year)"));
    command
        ->add_option("-o,--output", args->output,
                     "also save the records here, each as it comes (- for standard output, instead of the lines)")
        ->type_name("FILE.txt");
    command->add_flag("--reconnect", args->reconnect,
                      "when the device is unplugged, wait a minute for it to come back and go on listening");
    return {command, [args] { return Listen(*args); }};
}

}  // namespace quillon::cli
