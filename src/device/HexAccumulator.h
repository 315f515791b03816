#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

// Received bytes kept as hex text until a whole frame is there.  Taking
// digits off the front only moves an offset, and the consumed part is
// dropped once it outweighs the rest, so skipping garbage a byte at a time
// stays linear.
class HexAccumulator {
public:
    void Append(const std::uint8_t* bytes, std::size_t count);
    std::string_view Text() const { return std::string_view(text_).substr(start_); }
    std::size_t Size() const { return text_.size() - start_; }
    bool StartsWith(std::string_view prefix) const { return Text().starts_with(prefix); }
    void Consume(std::size_t digits);
    void Clear();

private:
    std::string text_;
    std::size_t start_ = 0;
};

}  // namespace quillon
