#include "base/HexText.h"

#include "base/HexDigit.h"

namespace quillon {

namespace {
constexpr char kLowerDigits[] = "0123456789abcdef";
constexpr char kUpperDigits[] = "0123456789ABCDEF";
}  // namespace

unsigned HexFieldValue(std::string_view digits)
{
    const unsigned allOnes = digits.size() >= 8 ? 0xFFFFFFFFu : (1u << (4 * digits.size())) - 1;
    std::size_t at = 0;
    while (at < digits.size() && digits[at] == '0')
        ++at;
    unsigned value = 0;
    for (; at < digits.size(); ++at) {
        const int digit = HexDigitValue(static_cast<unsigned char>(digits[at]));
        if (digit < 0)
            return allOnes;
        value = (value << 4) | static_cast<unsigned>(digit);
    }
    return value;
}

std::vector<std::uint8_t> HexToBytes(std::string_view text)
{
    std::vector<std::uint8_t> bytes(text.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(HexFieldValue(text.substr(2 * i, 2)));
    return bytes;
}

void AppendHex(std::string& text, const std::uint8_t* bytes, std::size_t count)
{
    const std::size_t start = text.size();
    text.resize(start + 2 * count);
    char* out = text.data() + start;
    for (std::size_t i = 0; i < count; ++i) {
        *out++ = kLowerDigits[bytes[i] >> 4];
        *out++ = kLowerDigits[bytes[i] & 15];
    }
}

std::string ToHex(const std::uint8_t* bytes, std::size_t count)
{
    std::string text;
    AppendHex(text, bytes, count);
    return text;
}

std::string Hex16(unsigned value)
{
    std::string text(4, '0');
    for (int i = 3; i >= 0; --i, value >>= 4)
        text[static_cast<std::size_t>(i)] = kUpperDigits[value & 15];
    return text;
}

}  // namespace quillon
