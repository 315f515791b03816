#include "device/ReadBackProcessor.h"

#include "device/FrameLength.h"

#include <string>

namespace quillon {

void ReadBackProcessor::Feed(const uint8_t* bytes, size_t count)
{
    outcome_.ReadBackProgress();
    pending_.Append(bytes, count);
    while (pending_.Size() >= 6) {
        if (!pending_.StartsWith("24")) {
            pending_.Consume(2);
            continue;
        }
        const auto extent = FrameAtFront(pending_.Text());
        if (!extent)
            return;
        const std::string frame(pending_.Text().substr(0, extent->digits));
        pending_.Consume(extent->digits);
        outcome_.DeviceSetting(frame, extent->kind);
        if (frame.starts_with("247181")) {
            // The read is over; what follows belongs to no exchange.
            pending_.Clear();
            outcome_.ReadBackEnded();
            return;
        }
    }
}

}  // namespace quillon
