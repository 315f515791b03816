#include "cli/FirmwareCommand.h"

#include <unistd.h>

#include <cstdio>

#include "cli/Commands.h"
#include "tools/FirmwareDownload.h"

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

constexpr const char* kUsage = "usage: quillon-cli firmware --port COMn|DEVICE FILE [--erase] [--repair]\n";

}  // namespace

int RunFirmware(const Args& args)
{
    FirmwareCommandOptions options;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            std::printf("%s", kUsage);
            return 0;
        }
        if (arg == "--erase")
            options.erase = true;
        else if (arg == "--repair")
            options.repair = true;
        else if (arg == "--port" && i + 1 < args.size())
            options.port = args[++i];
        else if (arg.starts_with("--port="))
            options.port = arg.substr(7);
        else if (arg.starts_with("-") && arg != "-")
            return std::fprintf(stderr, "quillon-cli firmware: unknown option %s\n%s", arg.c_str(), kUsage), 2;
        else
            files.push_back(arg);
    }
    if (options.port.empty() || files.size() != 1)
        return std::fprintf(stderr, "%s", kUsage), 2;
    options.file = files.front();
    return RunFirmwareDownloadCommand(options);
}

int RunFirmwareDownloadCommand(const FirmwareCommandOptions& options)
{
    const DownloadOutcome outcome = [&] {
        StderrProgress progress;
        const StopSignal stop;
        return RunFirmwareDownload({options.port, options.file, {options.erase, options.repair}}, progress, stop);
    }();
    const std::string text = DescribeOutcome(outcome).text;
    if (Succeeded(outcome.result)) {
        std::printf("%s\n", text.c_str());
        return 0;
    }
    std::fprintf(stderr, "quillon-cli firmware: %s\n", text.c_str());
    return outcome.result == DownloadResult::PortUnavailable ? 3 : 1;
}

}  // namespace quillon::cli
