#pragma once
#include "device/DeviceInfo.h"
#include "device/ReplyProcessor.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

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
        : info_(info), target_(target), reached_(std::move(reached))
    {
    }

    void Feed(const uint8_t* bytes, size_t count) override;
    void Reset() override;

private:
    DeviceInfo& info_;
    std::uint32_t target_;
    std::function<void()> reached_;
    std::vector<std::uint8_t> pending_;
    std::size_t begin_ = 0;  // first byte of pending_ not yet looked at
};

// Length of the frame at the front of `bytes` from its third byte's top two
// bits: 3, 4, 5, or 5 + N with N in bytes 3 and 4.  0 while too few bytes
// are there to tell.
std::size_t InfoFrameLength(const std::uint8_t* bytes, std::size_t count);

}  // namespace quillon
