#pragma once
#include "device/ReplyProcessor.h"

#include <array>
#include <cstdint>
#include <functional>

namespace quillon {

// The connect probe's answer (route 6): exactly the four bytes 24 10 40 xx
// in one notification prove a supported device.  An answer split over
// several notifications is put together; more than four bytes, or four
// wrong ones, are no answer and the next notification starts afresh.  Only
// the first four bytes are kept, however much a chatty device sends.
class ConnectProbeProcessor : public IReplyProcessor {
public:
    static constexpr std::size_t kAnswerLength = 4;

    explicit ConnectProbeProcessor(std::function<void()> answered) : answered_(std::move(answered)) {}

    void Feed(const uint8_t* bytes, size_t count) override;
    void Reset() override { count_ = 0; }
    // Called when a notification's bytes have all been fed.
    void EndOfNotification();

private:
    std::function<void()> answered_;
    std::array<std::uint8_t, kAnswerLength> first_{};
    std::size_t count_ = 0;  // stops counting just past kAnswerLength
};

}  // namespace quillon
