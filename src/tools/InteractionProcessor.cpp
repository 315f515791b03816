#include "tools/InteractionProcessor.h"

#include "tools/TypedCommand.h"

namespace quillon {

void InteractionProcessor::Feed(const uint8_t* bytes, size_t count)
{
    AppendReplyBytes(reply_, bytes, count);
}

void InteractionProcessor::EndOfNotification()
{
    if (reply_.empty())
        return;
    const std::string reply = std::move(reply_);
    reply_.clear();
    handOver_(reply);
}

}  // namespace quillon
