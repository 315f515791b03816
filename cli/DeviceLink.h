#pragma once
#include "cli/StderrPrompt.h"
#include "catalogue/CatalogueTree.h"
#include "device/DeviceSession.h"
#include "document/QuillonDoc.h"
#include "serial/CnComm.h"
#include "serial/CommSink.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
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
};

// The window's device link without the window: the same session, frames
// and processors over the channel, with the information bar's state kept as
// text, message boxes written on standard error, and the channel's
// notifications and the link's timers run by a small loop of its own.
class DeviceLink : private ICommSink, private IDeviceTimers, private IDeviceHost {
public:
    explicit DeviceLink(const PortArgs& args);
    ~DeviceLink() override;

    // Loads the bundled catalogue; false (with the reason on stderr) when it
    // cannot be read.
    bool LoadCatalogue();
    // Opens the port; 0, or 3 with the channel's reason on stderr.
    int Open();
    // Opens the port and probes; with readBack also
    // waits for the read-back the connection starts.  0, or the exit status
    // of what went wrong (the reason on stderr).
    int OpenAndConnect(bool readBack);
    // Probes and waits for the answer: 0 online, 1 otherwise (the reason on
    // stderr).
    int Connect();
    // Waits for the read-back that the connection started: 0 when every
    // setting was read, 1 when it was given up.
    int FinishReadBack();
    // Writes one option as the tree does with "修改设备参数" ticked and waits
    // for its reply and the read-back it starts: 0, or 1 with the message.
    int Write(int recordIndex, const ValueTriple& value);

    // The information bar's state text: "COMn，联机", or the device path
    // when the port was named by its path.
    std::string StateText() const;
    CQuillonDoc& Doc() { return doc_; }
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
    ReplyRoute RestingRoute() const override { return ReplyRoute::SettingWrite; }
    void MonitorChanged() override {}
    // Message boxes on standard error, kept so that a verb can tell the
    // link gave up.
    struct Prompt : StderrPrompt {
        void ShowError(const std::string& text) override
        {
            shown.push_back(text);
            StderrPrompt::ShowError(text);
        }
        std::vector<std::string> shown;
    };

    // Handles notifications and timers until done() or the time-out; false
    // on time-out.
    bool RunUntil(const std::function<bool()>& done, int timeoutMs);
    // A message box or a status the link gave up with.
    bool MessageShown() const { return !prompt_.shown.empty(); }

    using Clock = std::chrono::steady_clock;
    PortArgs args_;
    int portNumber_ = 0;
    std::string linkFolder_;  // a private link for a port named by its path
    CQuillonDoc doc_;
    CatalogueTree tree_;
    CnComm comm_;
    int replyRoute_ = static_cast<int>(ReplyRoute::SettingWrite);
    int readBusy_ = 0;
    std::unique_ptr<DeviceSession> session_;
    bool online_ = false;
    Prompt prompt_;

    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<std::pair<unsigned, int>> notifications_;
    std::map<DeviceTimer, Clock::time_point> deadlines_;
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
