#include "device/HexAccumulator.h"

#include "base/HexText.h"

#include <algorithm>

namespace quillon {

void HexAccumulator::Append(const std::uint8_t* bytes, std::size_t count)
{
    if (start_ > 0 && start_ >= text_.size() / 2) {
        text_.erase(0, start_);
        start_ = 0;
    }
    AppendHex(text_, bytes, count);
}

void HexAccumulator::Consume(std::size_t digits)
{
    start_ += std::min(digits, Size());
    if (start_ == text_.size())
        Clear();
}

void HexAccumulator::Clear()
{
    text_.clear();
    start_ = 0;
}

}  // namespace quillon
