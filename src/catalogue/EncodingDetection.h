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
    std::size_t length = 0;       // bytes of the mark
    std::string_view name;        // "UTF-8", "UTF-16LE", "UTF-16BE"; empty without a mark
};

// EF BB BF, FF FE, FE FF, in that order; the first full match wins.
ByteOrderMarkMatch DetectByteOrderMark(std::string_view bytes);

// The encoding that a piece of text declares, from the XML
// declaration (<?xml ... encoding="..."?>) or from the HTML form
// (<html> ... <meta http-equiv="Content-Type" content="...; charset=...">);
// empty when nothing is declared.  Names are compared ignoring letter case.
std::u16string FindDeclaredEncoding(std::u16string_view text);

// A lenient UTF-8 test, fed piece by piece.  A byte of 0x80 or
// more opens a sequence whose length its bits 5, 4 and 3 give; continuation
// bytes must be 0x80 or more; a cut-off sequence fails.  Walking stops at a
// zero byte.
class Utf8Test {
public:
    void Feed(const unsigned char* bytes, std::size_t size);
    void Feed(std::string_view bytes) { Feed(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()); }
    bool Passed() const { return !failed_ && pending_ == 0; }

private:
    int pending_ = 0;  // continuation bytes still expected
    bool failed_ = false;
    bool stopped_ = false;  // a zero byte was met
};

}  // namespace quillon
