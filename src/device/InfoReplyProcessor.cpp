#include "device/InfoReplyProcessor.h"

namespace quillon {

namespace {
constexpr std::uint8_t kInfoClass = 0x44;
}

std::size_t InfoFrameLength(const std::uint8_t* bytes, std::size_t count)
{
    if (count < 3)
        return 0;
    switch (bytes[2] >> 6) {
    case 0: return 3;
    case 1: return 4;
    case 2: return 5;
    default: return count < 5 ? 0 : 5 + (std::size_t{bytes[3]} << 8 | bytes[4]);
    }
}

void InfoReplyProcessor::Reset()
{
    pending_.clear();
    begin_ = 0;
}

void InfoReplyProcessor::Feed(const uint8_t* bytes, size_t count)
{
    pending_.insert(pending_.end(), bytes, bytes + count);
    while (pending_.size() - begin_ >= 3) {
        if (pending_[begin_] != kInfoClass) {
            ++begin_;
            continue;
        }
        const std::size_t length = InfoFrameLength(pending_.data() + begin_, pending_.size() - begin_);
        if (length == 0 || pending_.size() - begin_ < length)
            break;
        const std::vector<std::uint8_t> frame(pending_.begin() + static_cast<std::ptrdiff_t>(begin_),
                                              pending_.begin() + static_cast<std::ptrdiff_t>(begin_ + length));
        begin_ += length;
        const std::uint32_t before = info_.infoKinds;
        const std::uint32_t after = info_.ParseInfoReply(frame.data(), frame.size());
        if (after == target_ && before != target_ && reached_)
            reached_();
    }
    // Compact once per burst, not per byte skipped.
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(begin_));
    begin_ = 0;
}

}  // namespace quillon
