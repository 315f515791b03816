#pragma once
#include <string>
#include <string_view>

namespace quillon {

// Conversions between UTF-8 and UTF-16 that never fail: a lone surrogate, a
// broken or overlong byte sequence, or a code point beyond U+10FFFF becomes
// U+FFFD (one per maximal broken subpart, as the Unicode standard recommends).
std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

// Decodes UTF-8 bytes into `out`, which must have room for `size` units (a byte
// never yields more than one unit).  Broken sequences become U+FFFD.  When
// `final` is false, a valid but incomplete sequence at the end is left alone:
// the return value is the number of bytes consumed and `written` the number of
// units stored.
std::size_t DecodeUtf8(const unsigned char* bytes, std::size_t size, bool final, char16_t* out,
                       std::size_t& written);

}  // namespace quillon
