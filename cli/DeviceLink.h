#pragma once
#include "catalogue/CatalogueTree.h"
#include "device/DeviceCapture.h"
#include "document/QuillonDoc.h"
#include "device/FrameBuilder.h"
#include "device/FrameWriter.h"
#include "device/ReplyDispatcher.h"
#include "serial/CnComm.h"
#include "serial/CommSink.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace quillon::cli {

// Exit statuses of the device commands.
inline constexpr int kExitDevice = 1;
inline constexpr int kExitArguments = 2;
inline constexpr int kExitNoPort = 3;

// The options every device command takes.
struct LinkOptions {
    int port = 0;            // --port COMn or n
    int baud = 115200;       // --baud
    int timeoutMs = 3000;    // --timeout: the longest silence of the device
    std::string catalogue;   // --catalogue, default the one ./config/config.ini names
};

// Adds --port (required), --baud, --timeout and --catalogue to a verb.
void AddLinkOptions(CLI::App& command, LinkOptions& options);

// The device as the command-line tool talks to it: the catalogue's command
// lists, the channel, the frame builders and the reply dispatcher, run on
// the calling thread.  The channel's worker only wakes it.
class DeviceLink : private ICommSink {
public:
    enum class End { Done, Quiet, Deadline, Interrupted, PortFailed };
    using Clock = std::chrono::steady_clock;

    explicit DeviceLink(const LinkOptions& options);
    ~DeviceLink() override;

    // Loads the catalogue and opens the port; 0, or the exit status.
    int Open();

    // Dispatches the device's replies until `done` holds, the deadline
    // passes, Ctrl+C, or (with endWhenQuiet) the device has been quiet for
    // the time-out.
    End Pump(const std::function<bool()>& done, std::optional<Clock::time_point> deadline = std::nullopt,
             bool endWhenQuiet = true);

    CQuillonDoc doc;
    int replyRoute = -1;
    CnComm comm;
    CommFrameWriter writer{comm};
    FrameBuilder frames{doc.catalogue, doc.monitorLines, writer};
    ReplyDispatcher dispatcher{comm, doc.portNumber, replyRoute};

private:
    void OnCommNotify(unsigned message, int port, long argument) override;

    LinkOptions options_;
    CatalogueTree tree_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool received_ = false;
    bool failed_ = false;
};

// The capture operations' events as flags the commands wait on.
struct CaptureEvents : ICaptureHost {
    bool versionComplete = false;
    bool resolutionArrived = false;
    bool imageArrived = false;
    const char* refusal = nullptr;
    std::function<void()> onDecoded;

    void VersionComplete() override { versionComplete = true; }
    void ResolutionArrived() override { resolutionArrived = true; }
    void ImageArrived() override { imageArrived = true; }
    void ImageRefused(const char* message) override { refusal = message; }
    void DecodedCaptured() override
    {
        if (onDecoded)
            onDecoded();
    }
};

}  // namespace quillon::cli
