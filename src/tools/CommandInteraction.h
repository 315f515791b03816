#pragma once
#include "device/LinkState.h"
#include "tools/InteractionProcessor.h"

#include <string>
#include <string_view>

namespace quillon {

class DeviceSession;

inline constexpr const char* kCommandLengthText = "输入命令长度错误，请重试！";
inline constexpr const char* kUnrecognisedCommandText = "无法识别的命令，请重试！";
// How long the interaction waits for a reply to a typed command before it
// reports the command as not recognised.
inline constexpr int kInteractionReplyMs = 3600000;

// What shows the open interaction: the dialog, or quillon-cli send.
class IInteractionView {
public:
    virtual ~IInteractionView() = default;
    // A reply was appended to the log: show the whole log, its last line in
    // sight.
    virtual void ReplyShown(const std::string& log) = 0;
    // Nothing came back to the last command within the time-out.
    virtual void NoReply() = 0;
};

// The command interaction: commands typed in hex go to the device unchanged
// and the exchange is kept as a log,
//   "-> 0x55 0xAA 0x01 \r\n<- 0x55 0xaa \r\n-> ..."
// with the sent characters as typed and the replies' bytes in lower case.
// While it is open it is the link's operation and every reply goes to it
// (route 7); closing ends it, so the link rests on the view's route, and
// forgets the log.  One lives as long as its session:
// it registers its processor and the session's timer 2 with it.  Runs on the
// session's thread.
class CommandInteraction {
public:
    explicit CommandInteraction(DeviceSession& session);
    CommandInteraction(const CommandInteraction&) = delete;
    CommandInteraction& operator=(const CommandInteraction&) = delete;

    void Open(IInteractionView& view);
    bool IsOpen() const { return view_ != nullptr; }
    // Logs and writes the command and waits for its reply.  false, with
    // nothing logged or sent, when the command has an odd number of
    // characters.  The view is not told: it shows the command with its reply.
    bool Send(std::string_view typed);
    void Clear() { log_.clear(); }
    // Ends what `view` opened; nothing when another view has it open.
    void Close(const IInteractionView& view);

    const std::string& Log() const { return log_; }
    // quillon-cli waits less than the dialog.
    void SetReplyTimeout(int milliseconds) { replyTimeoutMs_ = milliseconds; }

private:
    void HandOver(const std::string& reply);
    void OnReplyTimeout();

    DeviceSession& session_;
    InteractionProcessor processor_;
    IInteractionView* view_ = nullptr;
    std::string log_;
    LinkOperation open_;
    bool replySeen_ = false;
    int replyTimeoutMs_ = kInteractionReplyMs;
};

}  // namespace quillon
