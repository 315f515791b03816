#include "device/DecodedOutputProcessor.h"

#include "document/QuillonDoc.h"

namespace quillon {

void DecodedOutputProcessor::Feed(const uint8_t* bytes, size_t count)
{
    if (count == 0)
        return;
    doc_.AddDecodedOutput(bytes, count);
    if (captured_)
        captured_();
}

void DecodedOutputProcessor::Reset()
{
    doc_.decodedText.Forget();
}

}  // namespace quillon
