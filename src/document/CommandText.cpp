#include "document/CommandText.h"

#include "base/Utf.h"
#include "dialogs/FieldText.h"

#include <cstdio>

namespace quillon {

namespace {

std::string Prefix(const std::string& cmdType)
{
    if (cmdType == "21")
        return "<AW>";
    if (cmdType == "32")
        return "<AC>";
    return {};
}

// Each UTF-16 unit as its code shifted right by four bits and its low four
// bits, both upper-case hex: two digits for codes below 256.
std::string TextDigits(const std::string& text)
{
    std::string digits;
    char buffer[16];
    for (const char16_t unit : Utf8ToUtf16(text)) {
        std::snprintf(buffer, sizeof buffer, "%X%X", static_cast<unsigned>(unit) >> 4, unit & 0xFu);
        digits += buffer;
    }
    return digits;
}

// Leading and trailing white space removed.
std::string Trimmed(const std::string& text)
{
    static constexpr const char* kSpace = " \t\r\n\v\f";
    const auto first = text.find_first_not_of(kSpace);
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

std::string Escaped(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

}  // namespace

std::string BuildCommandString(const TreeNodeInfo& option, const ValueTriple& value)
{
    const std::string prefix = Prefix(option.cmdType);
    const std::string key = option.code.substr(0, 4);
    switch (value.valueKind) {
    case 1:
        if ((value.valueLength & 0xFFFF) == 0)
            return prefix + option.code;
        return prefix + key + LowWordHex(value.valueLength) + TextDigits(value.valueText);
    case 2: return prefix + key + value.valueText;
    case 3: return prefix + key + LowWordHex(value.valueLength) + value.valueText;
    default: return prefix + option.code;
    }
}

std::string BuildCaption(const TreeNodeInfo& setting, const TreeNodeInfo& option, const ValueTriple& value,
                         const std::string& captionText)
{
    std::string caption = Trimmed(setting.groupName) + " " + Trimmed(setting.name) + " ";
    switch (value.valueKind) {
    case 1: return caption + Trimmed(Escaped(value.valueText));
    case 3: return caption + Trimmed("(Hex)  " + value.valueText);
    default: return caption + Trimmed(captionText.empty() ? option.name : captionText);
    }
}

}  // namespace quillon
