#include "tools/FirmwareDownload.h"

#include <cerrno>
#include <system_error>

#include "serial/PortText.h"
#include "tools/FirmwarePort.h"

namespace quillon {

namespace {

std::optional<DownloadOutcome> FileFailure(const FirmwareFile& file)
{
    switch (file.fault) {
    case FileFault::None: return std::nullopt;
    case FileFault::Unreadable: return DownloadOutcome{DownloadResult::NoFile};
    case FileFault::Empty: return DownloadOutcome{DownloadResult::FileEmpty};
    case FileFault::TooLarge: return DownloadOutcome{DownloadResult::FileTooLarge};
    case FileFault::BadHex: return DownloadOutcome{DownloadResult::BadHexLine, file.problem};
    }
    return std::nullopt;
}

}  // namespace

DownloadOutcome RunFirmwareDownload(const DownloadRequest& request, IDownloadObserver& observer, const StopSignal& stop)
{
    if (request.filePath.empty())
        return {DownloadResult::NoFile};
    const FirmwareFile file = LoadFirmwareFile(request.filePath);
    if (const auto failure = FileFailure(file))
        return *failure;
    const auto devicePath = DevicePathForPortText(request.portText);
    CFirmwarePort port(stop, request.timeouts);
    if (!devicePath)
        return {DownloadResult::PortUnavailable, {}, 0, ENOENT};
    if (!port.Open(*devicePath, request.portText))
        return {DownloadResult::PortUnavailable, {}, 0, errno};
    return RunLoader(file, request.options, port, observer);
}

CFirmwareWorker::~CFirmwareWorker()
{
    Cancel();
}

bool CFirmwareWorker::Start(DownloadRequest request, IDownloadObserver& observer, Finished finished)
{
    if (running_)
        return false;
    Join();
    stop_ = std::make_unique<StopSignal>();
    running_ = true;
    try {
        thread_ = std::thread([this, request = std::move(request), &observer, finished = std::move(finished)] {
            const DownloadOutcome outcome = RunFirmwareDownload(request, observer, *stop_);
            // Idle before the owner hears of the end, so that it may start
            // the next download as soon as it does.
            running_ = false;
            if (!stop_->Raised())
                finished(outcome);
        });
    } catch (const std::system_error&) {
        running_ = false;
        return false;
    }
    return true;
}

void CFirmwareWorker::Cancel()
{
    if (stop_)
        stop_->Raise();
    Join();
}

void CFirmwareWorker::Join()
{
    if (thread_.joinable())
        thread_.join();
}

}  // namespace quillon
