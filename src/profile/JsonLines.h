#pragma once
#include <string_view>
#include <vector>

namespace quillon {

// The line (from 1) where each element of the array under the root object's
// key arrayKey begins, in order.  The text must already be valid JSON; the
// parser gives values, not places, and messages have to name the line.
std::vector<int> ArrayElementLines(std::string_view json, std::string_view arrayKey);

// The line of a byte offset.
int LineOfOffset(std::string_view text, std::size_t offset);

}  // namespace quillon
