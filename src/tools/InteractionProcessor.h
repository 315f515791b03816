#pragma once
#include "device/ReplyProcessor.h"

#include <functional>
#include <string>

namespace quillon {

// The command interaction's replies (route 7): whatever the device sends,
// framed or not, as "0x%02x " text.  The text of one notification is handed
// over whole once all its bytes have been fed, so a reply that arrives in
// one burst becomes one addition to the log.
class InteractionProcessor : public IReplyProcessor {
public:
    explicit InteractionProcessor(std::function<void(const std::string&)> handOver) : handOver_(std::move(handOver)) {}

    void Feed(const uint8_t* bytes, size_t count) override;
    void Reset() override { reply_.clear(); }
    // Called when a notification's bytes have all been fed.
    void EndOfNotification();

private:
    std::function<void(const std::string&)> handOver_;
    std::string reply_;
};

}  // namespace quillon
