#pragma once
#include <string>
#include <string_view>

namespace quillon {

// Conversions between UTF-8 and UTF-16 that never fail: a lone surrogate, a
// broken or overlong byte sequence, or a code point beyond U+10FFFF becomes
// U+FFFD (one per maximal broken subpart, as the Unicode standard recommends).
std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

// What a UTF-8 lead byte announces: how many continuation bytes follow and
// the range the first of them must lie in (narrower than 80..BF after E0, ED,
// F0 and F4, which rules out overlong forms, surrogates and code points above
// U+10FFFF).  `more` is 0 for a byte that cannot start a sequence: ASCII, a
// continuation byte, C0, C1 and F5..FF.
struct Utf8Lead {
    int more = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
};
constexpr Utf8Lead ClassifyUtf8Lead(unsigned char b)
{
    Utf8Lead lead;
    if (b >= 0xC2 && b <= 0xDF) {
        lead.more = 1;
    } else if (b >= 0xE0 && b <= 0xEF) {
        lead.more = 2;
        if (b == 0xE0)
            lead.low = 0xA0;
        if (b == 0xED)
            lead.high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        lead.more = 3;
        if (b == 0xF0)
            lead.low = 0x90;
        if (b == 0xF4)
            lead.high = 0x8F;
    }
    return lead;
}

// Decodes UTF-8 bytes into `out`, which must have room for `size` units (a byte
// never yields more than one unit).  Broken sequences become U+FFFD.  When
// `final` is false, a valid but incomplete sequence at the end is left alone:
// the return value is the number of bytes consumed and `written` the number of
// units stored.
std::size_t DecodeUtf8(const unsigned char* bytes, std::size_t size, bool final, char16_t* out, std::size_t& written);

}  // namespace quillon
