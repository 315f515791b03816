#include "cli/FirmwareCommand.h"

#include <unistd.h>

#include <cstdio>

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

}  // namespace

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
