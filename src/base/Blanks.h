#pragma once
#include <string>
#include <string_view>

namespace quillon {

// A blank as the catalogue, the dialogs and typed port names mean it: space,
// tab, carriage return or line feed.
inline bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Strips blanks at both ends.
std::string TrimBlanks(std::string_view text);

}  // namespace quillon
