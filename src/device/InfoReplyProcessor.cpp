#include "device/InfoReplyProcessor.h"

#include "base/HexText.h"
#include "device/FrameLength.h"

#include <vector>

namespace quillon {

void InfoReplyProcessor::Reset()
{
    pending_.Clear();
}

void InfoReplyProcessor::Feed(const uint8_t* bytes, size_t count)
{
    pending_.Append(bytes, count);
    while (pending_.Size() >= 6) {
        if (!pending_.StartsWith("44")) {
            pending_.Consume(2);
            continue;
        }
        const auto extent = FrameAtFront(pending_.Text());
        if (!extent)
            break;
        const std::vector<std::uint8_t> frame = HexToBytes(pending_.Text().substr(0, extent->digits));
        pending_.Consume(extent->digits);
        const std::uint32_t before = info_.infoKinds;
        const std::uint32_t after = info_.ParseInfoReply(frame.data(), frame.size());
        if (after == target_ && before != target_ && reached_)
            reached_();
    }
}

}  // namespace quillon
