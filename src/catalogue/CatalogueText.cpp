#include "catalogue/CatalogueText.h"

#include "base/Blanks.h"
#include "base/Utf.h"

#include <algorithm>
#include <limits>

namespace quillon {

namespace {

char16_t AsciiLower(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

}  // namespace

std::int32_t ParseNodeIdFlag(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size() && (IsBlank(text[pos]) || text[pos] == '\v' || text[pos] == '\f'))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        negative = text[pos++] == '-';
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        if (value < kLimit)
            value = value * 10 + (text[pos] - '0');
    }
    if (negative)
        return static_cast<std::int32_t>(-std::min(value, kLimit));
    return static_cast<std::int32_t>(std::min(value, kLimit - 1));
}

std::string ApplyPidFidRule(std::string& pidFid, const std::string& code)
{
    // Lengths and positions count UTF-16 units, the unit in which the
    // catalogue text is held while it is read.
    const std::u16string code16 = Utf8ToUtf16(code);
    if (code16.size() <= 4)
        return pidFid + code;
    std::u16string key = Utf8ToUtf16(pidFid);
    for (auto& c : key)
        c = AsciiLower(c);
    pidFid = Utf16ToUtf8(key);
    std::u16string head = code16.substr(0, 4);
    for (auto& c : head)
        c = AsciiLower(c);
    return head == key ? code : pidFid + code;
}

}  // namespace quillon
