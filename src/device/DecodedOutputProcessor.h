#pragma once
#include "device/ReplyProcessor.h"

#include <functional>

namespace quillon {

class CQuillonDoc;

// Route 2: whatever the device sends after decoding a barcode, unframed.
// Each burst handed over becomes one record of the document's decoded
// output; `captured` then redraws the pane that shows them.
class DecodedOutputProcessor : public IReplyProcessor {
public:
    DecodedOutputProcessor(CQuillonDoc& doc, std::function<void()> captured)
        : doc_(doc), captured_(std::move(captured))
    {
    }

    void Feed(const uint8_t* bytes, size_t count) override;
    // A character held back from the last burst belongs to no later one.
    void Reset() override;

private:
    CQuillonDoc& doc_;
    std::function<void()> captured_;
};

}  // namespace quillon
