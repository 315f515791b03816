#include "cli/PortOptions.h"
#include "cli/Verbs.h"
#include "tools/FirmwareDownload.h"

#include <CLI/CLI.hpp>

#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

namespace quillon::cli {

namespace {

constexpr int kFailed = 1;
constexpr int kPortNotOpened = 3;

// A bar redrawn in place on a terminal; a plain "N%" line per step when
// standard error is a file or a pipe, which a log keeps readable.
class StderrProgress : public IDownloadObserver {
public:
    StderrProgress() : terminal_(::isatty(STDERR_FILENO) == 1) {}
    ~StderrProgress() override
    {
        if (terminal_ && drawn_)
            std::fputc('\n', stderr);
    }

    void OnProgress(int percent) override
    {
        drawn_ = true;
        if (!terminal_) {
            std::fprintf(stderr, "%d%%\n", percent);
            return;
        }
        constexpr int kWidth = 40;
        const int filled = percent * kWidth / 100;
        std::fprintf(stderr, "\r[%s%s] %3d%%", std::string(static_cast<std::size_t>(filled), '#').c_str(),
                     std::string(static_cast<std::size_t>(kWidth - filled), '.').c_str(), percent);
        std::fflush(stderr);
    }

private:
    bool terminal_;
    bool drawn_ = false;
};

struct FirmwareArguments {
    std::string port;
    std::string file;
    bool erase = false;
    bool repair = false;
};

// Exit status: 0 loaded, 3 the port could not be opened, 1 any other
// failure, with its message on standard error.
int Download(const FirmwareArguments& arguments)
{
    const DownloadOutcome outcome = [&] {
        StderrProgress progress;
        const StopSignal stop;
        return RunFirmwareDownload({arguments.port, arguments.file, {arguments.erase, arguments.repair}}, progress,
                                   stop);
    }();
    const std::string text = DescribeOutcome(outcome).text;
    if (Succeeded(outcome.result)) {
        std::printf("%s\n", text.c_str());
        return 0;
    }
    std::fprintf(stderr, "quillon-cli firmware: %s\n", text.c_str());
    return outcome.result == DownloadResult::PortUnavailable ? kPortNotOpened : kFailed;
}

}  // namespace

Verb AddFirmwareVerb(CLI::App& app)
{
    auto arguments = std::make_shared<FirmwareArguments>();
    CLI::App* command = app.add_subcommand("firmware", "Send a firmware file to the device's loader.");
    command->add_option("--port", arguments->port, "COMn or a device path")->required()->check(NonEmptyPort());
    command->add_option("FILE", arguments->file, "Intel HEX file, or a raw .ci/.ldr image")->required();
    command->add_flag("--erase", arguments->erase, "erase the device configuration first");
    command->add_flag("--repair", arguments->repair, "repair upgrade: HEX records without the loader handshake");
    command->footer("As the download dialog does it; progress on standard error (a bar on a terminal).\n"
                    "Exit status: 0 loaded, 1 refused or failed, 2 wrong arguments, 3 port not opened.");
    return {command, [arguments] { return Download(*arguments); }};
}

}  // namespace quillon::cli
