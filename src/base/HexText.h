#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// Commands are held, and replies examined, as text of hexadecimal digits,
// two per byte, most significant first.

// The value of a field of hex digits: leading '0's are skipped, the rest must
// be 0-9, a-f or A-F.  A field holding any other character reads as all ones
// (0xFF for a pair); an empty field reads as 0.
unsigned HexFieldValue(std::string_view digits);

// The bytes of the text, one per pair of characters; an odd last character
// is not a byte.
std::vector<std::uint8_t> HexToBytes(std::string_view text);

// Appends the bytes as two lower-case digits each ("%02x").
void AppendHex(std::string& text, const std::uint8_t* bytes, std::size_t count);
std::string ToHex(const std::uint8_t* bytes, std::size_t count);
inline std::string ToHex(const std::vector<std::uint8_t>& bytes)
{
    return ToHex(bytes.data(), bytes.size());
}

// The value as four upper-case hex digits of its low 16 bits.
std::string Hex16(unsigned value);

}  // namespace quillon
