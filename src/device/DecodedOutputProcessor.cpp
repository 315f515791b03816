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
            Record();
    }
}

void DecodedOutputProcessor::EndOfBurst()
{
    if (!burst_.empty())
        Record();
    if (std::exchange(recorded_, false) && captured_)
        captured_();
}

void DecodedOutputProcessor::Record()
{
    doc_.AddDecodedOutput(burst_.data(), burst_.size());
    burst_.clear();
    recorded_ = true;
}

void DecodedOutputProcessor::Reset()
{
    burst_.clear();
    recorded_ = false;
    doc_.decodedText.Forget();
}

}  // namespace quillon
