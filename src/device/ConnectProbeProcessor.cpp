#include "device/ConnectProbeProcessor.h"

#include <algorithm>

namespace quillon {

void ConnectProbeProcessor::Feed(const uint8_t* bytes, size_t count)
{
    for (size_t i = 0; i < count && count_ <= kAnswerLength; ++i, ++count_) {
        if (count_ < kAnswerLength)
            first_[count_] = bytes[i];
    }
}

void ConnectProbeProcessor::EndOfNotification()
{
    if (count_ < kAnswerLength)
        return;  // the rest of a split answer may follow
    const bool answered = count_ == kAnswerLength && first_[0] == 0x24 && first_[1] == 0x10 && first_[2] == 0x40;
    count_ = 0;
    if (answered)
        answered_();
}

}  // namespace quillon
