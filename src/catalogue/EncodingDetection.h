#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace quillon {

// How the reader tells a file's encoding: byte-order marks, declared
// encodings and the UTF-8 test.

enum class ByteOrderMark { None, Utf8, Utf16Le, Utf16Be };

struct ByteOrderMarkMatch {
    ByteOrderMark mark = ByteOrderMark::None;
    std::size_t length = 0;  // bytes of the mark
    std::string_view name;   // "UTF-8", "UTF-16LE", "UTF-16BE"; empty without a mark
};

// EF BB BF, FF FE, FE FF, in that order; the first full match wins.
ByteOrderMarkMatch DetectByteOrderMark(std::string_view bytes);

// The encoding that a piece of text declares, from the XML
// declaration (<?xml ... encoding="..."?>) or from the HTML form
// (<html> ... <meta http-equiv="Content-Type" content="...; charset=...">);
// empty when nothing is declared.  Names are compared ignoring letter case.
std::u16string FindDeclaredEncoding(std::u16string_view text);

// The UTF-8 test, fed piece by piece.  Every byte of 0x80 or more must start
// a well-formed sequence: a lead byte C2..F4 followed by the continuation
// bytes (10xxxxxx) it announces, with no overlong form, no surrogate and
// nothing above U+10FFFF.  GBK text nearly always breaks one of these rules,
// so it is not taken for UTF-8.  A sequence cut off by the end fails; walking
// stops at a zero byte.
class Utf8Test {
public:
    void Feed(const unsigned char* bytes, std::size_t size);
    void Feed(std::string_view bytes) { Feed(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()); }
    bool Passed() const { return !failed_ && pending_ == 0; }

private:
    int pending_ = 0;  // continuation bytes still expected
    // The range the next continuation byte must lie in: narrower than
    // 80..BF only for the first one after E0, ED, F0 and F4.
    unsigned char low_ = 0x80;
    unsigned char high_ = 0xBF;
    bool failed_ = false;
    bool stopped_ = false;  // a zero byte was met
};

}  // namespace quillon
