#pragma once
#include "catalogue/CatalogueTree.h"
#include "cli/ExitStatus.h"
#include "cli/Messages.h"
#include "cli/PortTargets.h"
#include "cli/StderrPrompt.h"
#include "device/DeviceCapture.h"
#include "device/DeviceSession.h"
#include "document/QuillonDoc.h"
#include "profile/ReportedSettings.h"
#include "serial/CnComm.h"
#include "serial/CommSink.h"
#include "serial/PortReturnWait.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace quillon::cli {

// The port arguments the device verbs share.
struct PortArgs {
    std::string port;      // COMn or a device path
    int baud = 115200;     // the port dialog's default speed
    int timeoutMs = 3000;  // the longest wait for one exchange
    bool json = false;
    std::string catalogue;  // empty: the one the window would load
};

// The window's device link without the window: the same session, frames
// and processors over the channel, with the information bar's state kept as
// text, message boxes written on standard error, and the channel's
// notifications and the link's timers run by a small loop of its own.
//
// A link belongs to one thread; links of different ports may run in threads
// of their own at once, given the ports' targets made beforehand.
class DeviceLink : private ICommSink, private IDeviceTimers, private IDeviceHost {
public:
    // Without targets, args.port is resolved when the port is opened.
    explicit DeviceLink(const PortArgs& args, std::shared_ptr<const PortTargets> ports = nullptr,
                        std::size_t portIndex = 0);
    ~DeviceLink() override;

    // Loads the catalogue; false (with the reason on stderr, naming the
    // file) when it cannot be read.
    bool LoadCatalogue();
    // A copy of a catalogue loaded once for several links.
    void UseCatalogue(const CatalogueLists& catalogue, const CatalogueTree& tree);
    // Messages are kept (Messages()) rather than written on standard error,
    // for a caller that tells them its own way.
    void KeepMessagesQuiet() { prompt_.echo = false; }
    const std::vector<std::string>& Messages() const { return prompt_.shown; }
    // Opens the port: Done, or PortNotOpened with the channel's reason on stderr.
    ExitStatus Open();
    // Both of the above: Done, BadInput without a catalogue, or Open()'s status.
    ExitStatus LoadAndOpen();
    // Opens the port and probes; with readBack also
    // waits for the read-back the connection starts.  0, or the exit status
    // of what went wrong (the reason on stderr).
    ExitStatus OpenAndConnect(bool readBack);
    // Probes and waits for the answer: 0 online, 1 otherwise (the reason on
    // stderr).
    ExitStatus Connect();
    // Waits for the read-back that the connection started: 0 when every
    // setting was read, 1 when it was given up.
    ExitStatus FinishReadBack();
    // Writes one option as the tree does with "修改设备参数" ticked and waits
    // for its reply and the read-back it starts: 0, or 1 with the message.
    ExitStatus Write(int recordIndex, const ValueTriple& value);
    // Reads every setting back: 0, or 1 when the read-back was given up.
    ExitStatus ReadBack();
    // The last frame the device reported for each setting key (upper-case
    // hex), from the read-backs and write replies so far.
    // What the device reported, for comparing it with a profile.
    DeviceReport Report() const { return {doc_.catalogue.treeNodes, tree_, reportedFrames_}; }

    // Why the link gave up, in one line: a lost port, else its last message.
    std::string FailureReason() const;

    // The information bar's state text: "COMn，联机", or the device path
    // when the port was named by its path.
    std::string StateText() const;
    // False once the device went offline: never connected, or the port lost.
    bool Online() const { return online_; }
    // True once the channel reported the port failed (a device unplugged).
    bool PortFailed() const { return portFailed_; }
    CQuillonDoc& Doc() { return doc_; }
    DeviceSession& Session() { return *session_; }
    LinkState& Link() { return session_->Link(); }
    // Where replies nobody asked for go: the setting writes, unless a verb
    // listens to what the device decodes.
    void SetRestingRoute(ReplyRoute route) { restingRoute_ = route; }

    // How a capture's wait ended.
    enum class End { Done, Quiet, Deadline, Interrupted, PortFailed };
    using Clock = std::chrono::steady_clock;
    // Dispatches the device's replies until `done` holds, the deadline
    // passes, an interrupt, or (with endWhenQuiet) the device has been quiet for
    // the time-out.
    End Pump(const std::function<bool()>& done, std::optional<Clock::time_point> deadline = std::nullopt,
             bool endWhenQuiet = true);
    // After the port failed: waits for the same device to come back (a
    // line on stderr when it is lost and when it does not come back) and
    // opens it again.  Done when it is open again; PortFailed when it did not come
    // back within the minute or does not open.
    End AwaitReturn(PortReturnWait& wait, std::optional<Clock::time_point> deadline);
    const CatalogueTree& Tree() const { return tree_; }
    const CnComm& Comm() const { return comm_; }

private:
    // ICommSink: called on the channel's worker.
    void OnCommNotify(unsigned message, int port, long argument) override;
    // IDeviceTimers
    void Start(DeviceTimer timer, int milliseconds) override;
    void Stop(DeviceTimer timer) override;
    // IDeviceHost
    void ShowOnline(int portNumber) override;
    void ShowOffline() override;
    void ShowStatus(const std::string& text) override;
    ReplyRoute RestingRoute() const override { return restingRoute_; }
    void MonitorChanged() override {}
    // Message boxes on standard error, naming the port, and kept so that a
    // verb can tell the link gave up.
    struct Prompt : StderrPrompt {
        explicit Prompt(const std::string& port) : StderrPrompt(port) {}
        void ShowError(const std::string& text) override { Keep(text, About(text)); }
        // A message of the link's own, which names the port itself.
        void Tell(const std::string& text) { Keep(text, text); }
        void Keep(const std::string& text, const std::string& told)
        {
            shown.push_back(text);
            if (echo)
                Complain(told);
        }
        std::vector<std::string> shown;
        bool echo = true;
    };

    // Handles notifications and timers until done(), the time-out or an
    // interrupt.
    End RunUntil(const std::function<bool()>& done, int timeoutMs);
    // The loop under both: also ends after `quiet` without data, when the
    // port fails, and (when interruptible) on SIGINT or SIGTERM.
    End Run(const std::function<bool()>& done, Clock::time_point end, std::optional<Clock::duration> quiet,
            bool interruptible = true);
    // A message box or a status the link gave up with.
    bool MessageShown() const { return !prompt_.shown.empty(); }

    PortArgs args_;
    std::shared_ptr<const PortTargets> ports_;
    std::size_t portIndex_ = 0;
    CQuillonDoc doc_;
    CatalogueTree tree_;
    CnComm comm_;
    ReplyRoute restingRoute_ = ReplyRoute::SettingWrite;
    std::unique_ptr<DeviceSession> session_;
    bool online_ = false;
    bool portFailed_ = false;
    Prompt prompt_{args_.port};
    std::map<std::string, std::string> reportedFrames_;

    std::mutex mutex_;
    std::condition_variable arrived_;
    struct Notification {
        unsigned message;
        int port;
        long argument;
    };
    std::deque<Notification> notifications_;
    std::map<DeviceTimer, Clock::time_point> deadlines_;
};

// The capture operations' events as flags the capture verbs wait on.
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

// The options the device reports as set, in tree order.
struct ReportedOption {
    std::string code;
    std::string setting;
    std::string option;
    std::optional<std::string> value;
};
std::vector<ReportedOption> ReportedOptions(const CQuillonDoc& doc, const CatalogueTree& tree);
void PrintReportedOptions(const std::vector<ReportedOption>& options, bool json);

}  // namespace quillon::cli
