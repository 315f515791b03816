#pragma once
#include "device/ReplyProcessor.h"

#include <array>
#include <cstdint>
#include <functional>

namespace quillon {

// The connect probe's answer (route 6): 24 10 40 and one more byte prove a
// supported device, however the answer is split and whatever came before
// it (a port often delivers a stray byte as it opens).  Only the last four
// bytes are kept, however much a chatty device sends.
class ConnectProbeProcessor : public IReplyProcessor {
public:
    static constexpr std::size_t kAnswerLength = 4;

    explicit ConnectProbeProcessor(std::function<void()> answered) : answered_(std::move(answered)) {}

    void Feed(const uint8_t* bytes, size_t count) override;
    void Reset() override;
    // Called when a notification's bytes have all been fed.
    void EndOfNotification();

private:
    std::function<void()> answered_;
    std::array<std::uint8_t, kAnswerLength> last_{};
    std::size_t count_ = 0;  // bytes in last_
    bool found_ = false;     // the answer is in last_
};

}  // namespace quillon
