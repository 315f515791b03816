#include "dialogs/FieldText.h"

#include "base/HexDigit.h"
#include "base/Utf.h"

#include <algorithm>
#include <cstdio>

namespace quillon {

namespace {

constexpr long long kSaturation = 1'000'000'000'000LL;

long long Saturate(long long value)
{
    return std::clamp(value, -kSaturation, kSaturation);
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}  // namespace

std::string PrefillFromItemText(const std::string& itemText)
{
    const std::u16string text = Utf8ToUtf16(itemText);
    const std::size_t colon = text.find(u':');
    if (colon == std::u16string::npos || colon == 0 || colon + 2 > text.size())
        return {};
    return Utf16ToUtf8(std::u16string_view(text).substr(colon + 2));
}

long long ReadFieldNumber(std::string_view text)
{
    long long value = 0;
    for (const char16_t c : Utf8ToUtf16(text))
        value = Saturate(value * 10 + HexDigitValue(c));
    return value;
}

long long ReadLeadingInteger(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = Saturate(value * 10 + (text[i] - '0'));
    return negative ? -value : value;
}

std::string LowWordHex(long long value)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%04x", static_cast<unsigned>(value & 0xFFFF));
    return buffer;
}

std::size_t CountUnits(std::string_view text)
{
    return Utf8ToUtf16(text).size();
}

bool IsHexText(std::string_view text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return HexDigitValue(static_cast<unsigned char>(c)) >= 0; });
}

}  // namespace quillon
