#pragma once
#include <cstddef>
#include <optional>
#include <string_view>

namespace quillon {

// A frame is class byte, two-byte command code and data; the top two bits of
// its third byte give its length.  Reply processors call the form's number
// its "kind": the frame's length in hex digits for the fixed forms (6, 8, 10)
// and 11 for the counted form, whose bytes 3-4 count the data bytes after them.
inline constexpr int kKindBare = 6;
inline constexpr int kKindOneByte = 8;
inline constexpr int kKindTwoBytes = 10;
inline constexpr int kKindCounted = 11;

// The longest frame there can be: a counted frame of 65,535 data bytes.
inline constexpr std::size_t kLongestFrameDigits = 10 + 2 * 0xFFFF;

// The kind of a frame whose first three bytes are at the front of hex text
// of at least 6 digits.
int FrameKind(std::string_view hex);

struct FrameExtent {
    int kind = 0;
    std::size_t digits = 0;  // the whole frame, in hex digits
};

// The frame at the front of an accumulator of hex text, once it is all
// there; nothing while fewer than 6 digits are present or the frame is still
// incomplete.
std::optional<FrameExtent> FrameAtFront(std::string_view hex);

}  // namespace quillon
