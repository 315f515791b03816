#include "tools/CommandInteraction.h"

#include "device/DeviceSession.h"
#include "tools/TypedCommand.h"

namespace quillon {

CommandInteraction::CommandInteraction(DeviceSession& session)
    : session_(session),
      processor_([this](const std::string& reply) { HandOver(reply); })
{
    session_.Dispatcher().Register(ReplyRoute::CommandInteraction, processor_,
                                   [this] { processor_.EndOfNotification(); });
    session_.SetInteractionTimeoutHandler([this] { OnReplyTimeout(); });
}

void CommandInteraction::Open(IInteractionView& view)
{
    if (!view_)
        open_ = session_.Link().Begin(ReplyRoute::CommandInteraction);
    view_ = &view;
}

bool CommandInteraction::Send(std::string_view typed)
{
    const std::optional<TypedCommand> command = ReadTypedCommand(typed);
    if (!command)
        return false;
    log_ += log_.empty() ? "-> " : "\r\n-> ";
    log_ += command->shown;
    log_ += "\r\n<- ";
    if (!command->bytes.empty())
        session_.Writer().Write(command->bytes.data(), command->bytes.size());
    replySeen_ = false;
    session_.Link().StartTimer(DeviceTimer::Interaction, replyTimeoutMs_);
    return true;
}

void CommandInteraction::Close(const IInteractionView& view)
{
    if (view_ != &view)
        return;
    // A reply still due belongs to a dialog that is gone: nobody is told.
    session_.Link().End(open_);
    processor_.Reset();
    log_.clear();
    view_ = nullptr;
}

void CommandInteraction::HandOver(const std::string& reply)
{
    replySeen_ = true;
    log_ += reply;
    if (view_)
        view_->ReplyShown(log_);
}

void CommandInteraction::OnReplyTimeout()
{
    if (!replySeen_ && view_)
        view_->NoReply();
}

}  // namespace quillon
