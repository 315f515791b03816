#pragma once
#include "device/ReplyProcessor.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace quillon {

class CQuillonDoc;

// Route 2: whatever the device sends after decoding a barcode, unframed.
// The bytes of one data-arrived notification, however they are handed over,
// become one record of the document's decoded output at EndOfBurst (two
// barcodes read in one burst make one record, as the device sent them); a
// burst longer than kLongestRecord bytes is cut into several records, so a
// flood cannot build one giant line.  `captured` then redraws the pane.
class DecodedOutputProcessor : public IReplyProcessor {
public:
    static constexpr std::size_t kLongestRecord = 102400;

    DecodedOutputProcessor(CQuillonDoc& doc, std::function<void()> captured)
        : doc_(doc), captured_(std::move(captured))
    {
    }

    void Feed(const uint8_t* bytes, size_t count) override;
    // Makes the record of what was fed since the last call.
    void EndOfBurst();
    // Drops what was fed but not recorded, and a character held back from
    // the last burst: the input they belonged to is gone.
    void Reset() override;

private:
    void Record();

    CQuillonDoc& doc_;
    std::function<void()> captured_;
    std::vector<std::uint8_t> burst_;
    bool recorded_ = false;
};

}  // namespace quillon
