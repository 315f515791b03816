#include "device/DecodedOutputProcessor.h"

#include "document/QuillonDoc.h"

#include <algorithm>
#include <utility>

namespace quillon {

void DecodedOutputProcessor::Feed(const uint8_t* bytes, size_t count)
{
    while (count > 0) {
        const std::size_t take = std::min(count, kLongestRecord - burst_.size());
        burst_.insert(burst_.end(), bytes, bytes + take);
        bytes += take;
        count -= take;
        if (burst_.size() == kLongestRecord)
            Record(burst_.size());
    }
    TellCaptured();
}

void DecodedOutputProcessor::LineQuiet(std::size_t fedAfterPause)
{
    Record(burst_.size() - std::min(fedAfterPause, burst_.size()));
    TellCaptured();
}

void DecodedOutputProcessor::Reset()
{
    Record(burst_.size());
    doc_.decodedText.Forget();
    TellCaptured();
}

void DecodedOutputProcessor::Record(std::size_t count)
{
    if (count == 0)
        return;
    doc_.AddDecodedOutput(burst_.data(), count);
    burst_.erase(burst_.begin(), burst_.begin() + static_cast<std::ptrdiff_t>(count));
    recorded_ = true;
}

void DecodedOutputProcessor::TellCaptured()
{
    if (std::exchange(recorded_, false) && captured_)
        captured_();
}

}  // namespace quillon
