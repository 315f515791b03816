#pragma once
#include "device/ReplyProcessor.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace quillon {

class CQuillonDoc;

// Route 2: whatever the device sends after decoding a barcode, unframed.
// A record is one burst: the bytes the device sent without pausing for the
// channel's read interval, however the channel handed them over (at 1,200
// baud a barcode comes a byte at a time), so two barcodes read in one burst
// make one record, read in two, two.  A burst longer than kLongestRecord
// bytes is cut into several records, so a flood cannot build one giant line.
// `captured` then redraws the pane.
class DecodedOutputProcessor : public IReplyProcessor {
public:
    static constexpr std::size_t kLongestRecord = 102400;

    DecodedOutputProcessor(CQuillonDoc& doc, std::function<void()> captured) : doc_(doc), captured_(std::move(captured))
    {
    }

    void Feed(const uint8_t* bytes, size_t count) override;
    // Makes the record of what was fed before the pause; the bytes fed after
    // it begin the next one.
    void LineQuiet(std::size_t fedAfterPause) override;
    // The capture ends here (the route changes, or the input after it is
    // stale): what was fed is recorded, and a character held back from it
    // is dropped.
    void Reset() override;

private:
    void Record(std::size_t count);
    void TellCaptured();

    CQuillonDoc& doc_;
    std::function<void()> captured_;
    std::vector<std::uint8_t> burst_;
    bool recorded_ = false;
};

}  // namespace quillon
