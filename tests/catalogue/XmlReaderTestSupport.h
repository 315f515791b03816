#pragma once
#include <string>
#include <string_view>

#include "base/Utf.h"
#include "catalogue/XmlReader.h"
#include "support/TempDir.h"

namespace quillon::test {

// Writes `bytes` to a fresh file and loads it into `reader`.
class XmlFileLoader {
public:
    bool Load(CXmlReader& reader, std::string_view bytes)
    {
        return reader.LoadFile(dir_.Write("doc" + std::to_string(++count_) + ".xml", bytes));
    }

private:
    TempDir dir_;
    int count_ = 0;
};

// UTF-16 text as little- or big-endian bytes.
inline std::string Utf16Bytes(std::u16string_view text, bool bigEndian = false)
{
    std::string bytes;
    for (const char16_t unit : text) {
        const char lo = static_cast<char>(unit & 0xFF), hi = static_cast<char>(unit >> 8);
        bytes += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return bytes;
}

inline std::string U8(std::u16string_view text)
{
    return Utf16ToUtf8(text);
}

inline std::string Repeat(std::string_view piece, std::size_t times)
{
    std::string out;
    out.reserve(piece.size() * times);
    while (times-- > 0)
        out += piece;
    return out;
}

}  // namespace quillon::test
