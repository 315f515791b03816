#pragma once
#include <string>
#include <string_view>

namespace quillon::cli {

// text as a JSON string literal, quotes included.  UTF-8 passes through;
// quotes, backslashes and control characters are escaped.
std::string JsonString(std::string_view text);

}  // namespace quillon::cli
