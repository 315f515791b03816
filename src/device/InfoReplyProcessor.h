#pragma once
#include "device/HexAccumulator.h"
#include "device/ReplyProcessor.h"
#include "document/DeviceInfo.h"

#include <cstdint>
#include <functional>

namespace quillon {

// Routes 5 and 8: information replies.  Bytes that cannot start one (any
// class but 0x44) are skipped one by one; a frame waits until it is whole,
// then goes to DeviceInfo::ParseInfoReply.  When the set of fields received
// becomes exactly `target` (all eight for the version, the resolution alone
// for image extraction), `reached` is called once; it may run a modal dialog,
// so it is called with the frame already taken out and may feed more input
// meanwhile.
class InfoReplyProcessor : public IReplyProcessor {
public:
    InfoReplyProcessor(DeviceInfo& info, std::uint32_t target, std::function<void()> reached)
        : info_(info),
          target_(target),
          reached_(std::move(reached))
    {
    }

    void Feed(const uint8_t* bytes, size_t count) override;
    void Reset() override;

private:
    DeviceInfo& info_;
    std::uint32_t target_;
    std::function<void()> reached_;
    HexAccumulator pending_;
};

}  // namespace quillon
