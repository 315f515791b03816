#include "profile/JsonLines.h"

#include <algorithm>
#include <string>

namespace quillon {

int LineOfOffset(std::string_view text, std::size_t offset)
{
    offset = std::min(offset, text.size());
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
}

std::vector<int> ArrayElementLines(std::string_view json, std::string_view arrayKey)
{
    std::vector<int> lines;
    int line = 1;
    int depth = 0;
    bool inArray = false;      // inside the wanted array, at its own depth
    bool expectValue = false;  // at the start of an element of it
    std::string lastKey;       // the last string seen at depth 1
    for (std::size_t i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (c == '\n') {
            ++line;
            continue;
        }
        if (c == ' ' || c == '\t' || c == '\r')
            continue;
        if (inArray && depth == 2 && expectValue && c != ']') {
            lines.push_back(line);
            expectValue = false;
        }
        if (c == '"') {
            std::string text;
            for (++i; i < json.size() && json[i] != '"'; ++i) {
                if (json[i] == '\\')
                    ++i;
                else
                    text += json[i];
            }
            if (depth == 1)
                lastKey = std::move(text);
        } else if (c == '{' || c == '[') {
            ++depth;
            if (c == '[' && depth == 2 && lastKey == arrayKey) {
                inArray = true;
                expectValue = true;
            }
        } else if (c == '}' || c == ']') {
            if (depth == 2 && inArray)
                inArray = false;
            --depth;
        } else if (c == ',' && inArray && depth == 2) {
            expectValue = true;
        }
    }
    return lines;
}

}  // namespace quillon
