#pragma once
#include <algorithm>
#include <string_view>

namespace quillon::test {

// Whether UTF-8 text holds a Chinese character or full-width mark: every one
// is encoded from E3 80 80 (U+3000) on, and no byte of a plainer character
// reaches E3.
inline bool HasHan(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0xE3; });
}

}  // namespace quillon::test
