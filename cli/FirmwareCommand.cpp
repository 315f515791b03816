#include "base/ShownText.h"
#include "cli/Interrupts.h"
#include "cli/Messages.h"
#include "cli/PortOptions.h"
#include "cli/PortTargets.h"
#include "cli/Verbs.h"
#include "serial/PortText.h"
#include "tools/FirmwareDownload.h"

#include <CLI/CLI.hpp>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace quillon::cli {

namespace {

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

// Why the firmware file could not be read, as the system sees it.
std::string FileReason(const std::string& path)
{
    struct stat file {};
    if (::stat(path.c_str(), &file) != 0)
        return path + ": " + std::strerror(errno);
    if (S_ISDIR(file.st_mode))
        return path + ": is a folder";
    if (!S_ISREG(file.st_mode))
        return path + ": is not a regular file";
    if (::access(path.c_str(), R_OK) != 0)
        return path + ": " + std::strerror(errno);
    return path + ": cannot be read";
}

// The window's message, with the reason on the line below it.
std::string Explained(const DownloadOutcome& outcome, const FirmwareArguments& arguments)
{
    const std::string text = DescribeOutcome(outcome).text;
    switch (outcome.result) {
    case DownloadResult::NoFile: return text + "\n" + FileReason(arguments.file);
    case DownloadResult::PortUnavailable:
        return text + "\n" + OpenFailureText(arguments.port, DevicePathForPortText(arguments.port), outcome.error);
    default: return text;
    }
}

ExitStatus StatusOf(DownloadResult result)
{
    switch (result) {
    case DownloadResult::NoFile:
    case DownloadResult::FileEmpty:
    case DownloadResult::FileTooLarge:
    case DownloadResult::BadHexLine: return ExitStatus::BadInput;
    case DownloadResult::PortUnavailable: return ExitStatus::PortNotOpened;
    case DownloadResult::Cancelled: return ExitStatus::Interrupted;
    default: return ExitStatus::DeviceOrOutcome;
    }
}

// Any failure's message goes on standard error.
ExitStatus Download(const FirmwareArguments& arguments)
{
    const DownloadOutcome outcome = [&] {
        StderrProgress progress;
        StopSignal stop;
        const InterruptRaises stopOnInterrupt(stop);
        return RunFirmwareDownload({arguments.port, arguments.file, {arguments.erase, arguments.repair}}, progress,
                                   stop);
    }();
    if (Succeeded(outcome.result)) {
        std::printf("%s\n", Shown(DescribeOutcome(outcome).text).c_str());
        return ExitStatus::Done;
    }
    Complain(Explained(outcome, arguments));
    return StatusOf(outcome.result);
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
    command->footer("As the download dialog does it; progress on standard error (a bar on a terminal).");
    return {command, [arguments] { return Download(*arguments); }};
}

}  // namespace quillon::cli
