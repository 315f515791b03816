#include "base/ShownText.h"
#include "cli/DeviceLink.h"
#include "cli/PortOptions.h"
#include "cli/Verbs.h"
#include "tools/CommandInteraction.h"
#include "tools/TypedCommand.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>
#include <optional>

namespace quillon::cli {

namespace {

// A reply may come in several bursts: the next command goes out once the
// line has been this quiet after the last of them.
constexpr auto kReplySettle = std::chrono::milliseconds(100);

struct SendArgs {
    PortArgs link;
    std::vector<std::string> commands;
};

// The interaction's view on a terminal: remembers when a reply came and
// whether one never did.
struct ReplyWatch : IInteractionView {
    void ReplyShown(const std::string&) override { lastReply = DeviceLink::Clock::now(); }
    void NoReply() override { noReply = true; }

    bool Settled() const { return lastReply && DeviceLink::Clock::now() - *lastReply >= kReplySettle; }

    std::optional<DeviceLink::Clock::time_point> lastReply;
    bool noReply = false;
};

// Prints what the log gained since the last call, with the log's CR LF as
// the terminal's line end.
class LogPrinter {
public:
    explicit LogPrinter(const std::string& log) : log_(log) {}
    void PrintNew()
    {
        for (; printed_ < log_.size(); ++printed_) {
            if (log_[printed_] != '\r')
                std::fputc(log_[printed_], stdout);
        }
        std::fflush(stdout);
    }

private:
    const std::string& log_;
    std::size_t printed_ = 0;
};

ExitStatus SendCommands(const SendArgs& args)
{
    DeviceLink link(args.link);
    if (const ExitStatus status = link.Open(); status != ExitStatus::Done)
        return status;
    CommandInteraction interaction(link.Session());
    interaction.SetReplyTimeout(args.link.timeoutMs);
    ReplyWatch watch;
    interaction.Open(watch);
    LogPrinter printer(interaction.Log());
    const char* failure = nullptr;
    bool interrupted = false;
    for (const std::string& command : args.commands) {
        watch.lastReply.reset();
        interaction.Send(command);
        printer.PrintNew();
        const DeviceLink::End end = link.Pump([&] { return watch.noReply || watch.Settled(); }, std::nullopt, false);
        printer.PrintNew();
        if (end == DeviceLink::End::PortFailed)
            failure = "the port failed";
        else if (end != DeviceLink::End::Done)
            interrupted = true;
        else if (watch.noReply)
            failure = kUnrecognisedCommandText;
        if (failure || interrupted)
            break;
    }
    std::printf("\n");
    if (failure)
        Complain(args.link.port + ": " + failure);
    if (interrupted)
        Complain("interrupted waiting for the reply to a command");
    interaction.Close(watch);
    if (interrupted)
        return ExitStatus::Interrupted;
    return failure ? ExitStatus::DeviceOrOutcome : ExitStatus::Done;
}

}  // namespace

Verb AddSendVerb(CLI::App& app)
{
    CLI::App* command = app.add_subcommand("send", "Send raw commands typed in hex and print the replies.");
    command->footer(
        Shown("Each HEX goes to the device unchanged, as the window's \"命令交互\" sends it: two characters "
              "a byte, a pair that is not hexadecimal gives FF.  Prints the exchange as that dialog logs "
              "it (\"-> 0x55 0xAA \" for a command as typed, \"<- 0x55 0xaa \" for its reply), waiting for "
              "each reply before the next command and stopping at the first that gets none within "
              "--timeout (status 1, \"" +
              std::string(kUnrecognisedCommandText) +
              "\").  A HEX of odd length is a wrong "
              "argument: nothing is sent."));
    auto args = std::make_shared<SendArgs>();
    AddPortOptions(*command, args->link, false);
    command->add_option("HEX", args->commands, "a command, two hex digits a byte")
        ->type_name("HEX")
        ->required()
        ->check(CLI::Validator(
            [](std::string& value) {
                if (value.empty())
                    return std::string("an empty command: nothing to send");
                return ReadTypedCommand(value) ? std::string() : std::string(kCommandLengthText) + " (" + value + ")";
            },
            ""));
    return {command, [args] { return SendCommands(*args); }};
}

}  // namespace quillon::cli
