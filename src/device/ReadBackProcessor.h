#pragma once
#include "device/HexAccumulator.h"
#include "device/ReplyProcessor.h"

#include <string_view>

namespace quillon {

class IReadBackOutcome {
public:
    virtual ~IReadBackOutcome() = default;
    virtual void ReadBackProgress() = 0;  // bytes arrived
    virtual void DeviceSetting(std::string_view frameText, int kind) = 0;
    virtual void ReadBackEnded() = 0;  // the closing frame came
};

// Replies of the read-back (route 4): frames of class 0x24, each shown in
// the tree, until the frame 24 71 81 closes the read.  Anything before a
// 0x24 is skipped a byte at a time.
class ReadBackProcessor : public IReplyProcessor {
public:
    explicit ReadBackProcessor(IReadBackOutcome& outcome) : outcome_(outcome) {}

    void Feed(const uint8_t* bytes, size_t count) override;
    void Reset() override { pending_.Clear(); }

private:
    IReadBackOutcome& outcome_;
    HexAccumulator pending_;
};

}  // namespace quillon
