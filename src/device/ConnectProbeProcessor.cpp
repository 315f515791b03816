#include "device/ConnectProbeProcessor.h"

#include <algorithm>
#include <utility>

namespace quillon {

void ConnectProbeProcessor::Feed(const uint8_t* bytes, size_t count)
{
    for (size_t i = 0; i < count && !found_; ++i) {
        if (count_ == kAnswerLength) {
            std::copy(last_.begin() + 1, last_.end(), last_.begin());
            --count_;
        }
        last_[count_++] = bytes[i];
        found_ = count_ == kAnswerLength && last_[0] == 0x24 && last_[1] == 0x10 && last_[2] == 0x40;
    }
}

void ConnectProbeProcessor::Reset()
{
    count_ = 0;
    found_ = false;
}

void ConnectProbeProcessor::EndOfNotification()
{
    if (!found_)
        return;  // the rest of a split answer may follow
    Reset();
    answered_();
}

}  // namespace quillon
