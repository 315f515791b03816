#pragma once
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "tools/DownloadOutcome.h"
#include "tools/FirmwarePort.h"
#include "tools/LoaderSession.h"
#include "tools/StopSignal.h"

namespace quillon {

struct DownloadRequest {
    std::string portText;  // "COMn" or a device path
    std::string filePath;
    LoaderOptions options;
    CommTimeouts timeouts = LoaderTimeouts();
};

// One whole download on the calling thread: the file is read and checked
// before the port is touched, so a bad file sends nothing; then the port is
// opened, the loader driven, and the port closed whatever the outcome.
DownloadOutcome RunFirmwareDownload(const DownloadRequest& request, IDownloadObserver& observer,
                                    const StopSignal& stop);

// Runs downloads on a thread of its own.  Start, Cancel and the destructor
// belong to one owner thread; the observer and `finished` are called on the
// worker thread, and never after Cancel or the destructor has returned.
class CFirmwareWorker {
public:
    using Finished = std::function<void(const DownloadOutcome&)>;

    CFirmwareWorker() = default;
    ~CFirmwareWorker();
    CFirmwareWorker(const CFirmwareWorker&) = delete;
    CFirmwareWorker& operator=(const CFirmwareWorker&) = delete;

    // False when a download is still running or no thread could be started.
    bool Start(DownloadRequest request, IDownloadObserver& observer, Finished finished);
    // Stops a running download at once (its waits watch the stop signal),
    // closes its port and waits for the thread.  Harmless when idle.
    void Cancel();
    bool Running() const { return running_; }

private:
    void Join();

    std::unique_ptr<StopSignal> stop_;
    std::thread thread_;
    std::atomic<bool> running_ = false;
};

}  // namespace quillon
