#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "catalogue/Utf.h"
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
    std::string Write(std::string_view bytes) { return dir_.Write("doc" + std::to_string(++count_) + ".xml", bytes); }
    const TempDir& Dir() const { return dir_; }

private:
    TempDir dir_;
    int count_ = 0;
};

// UTF-16 text as little- or big-endian bytes.
inline std::string Utf16Bytes(std::u16string_view text, bool bigEndian = false)
{
    std::string bytes;
    for (const char16_t unit : text) {
        const char lo = static_cast<char>(unit & 0xFF);
        const char hi = static_cast<char>(unit >> 8);
        bytes.push_back(bigEndian ? hi : lo);
        bytes.push_back(bigEndian ? lo : hi);
    }
    return bytes;
}

inline std::string U8(std::u16string_view text) { return Utf16ToUtf8(text); }

// `piece` written `times` times over.
inline std::string Repeat(std::string_view piece, std::size_t times)
{
    std::string out;
    out.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) out += piece;
    return out;
}

inline bool EndsWith(std::string_view text, std::string_view tail)
{
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

}  // namespace quillon::test
