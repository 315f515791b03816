#include "tools/TypedCommand.h"

#include "base/HexText.h"
#include "base/Utf.h"

namespace quillon {

namespace {

// The text cut into characters, each as its UTF-8 bytes.
std::vector<std::string> Characters(std::string_view text)
{
    const std::u16string units = Utf8ToUtf16(text);
    std::vector<std::string> characters;
    for (std::size_t at = 0; at < units.size();) {
        const bool pair = units[at] >= 0xD800 && units[at] < 0xDC00 && at + 1 < units.size();
        const std::size_t length = pair ? 2 : 1;
        characters.push_back(Utf16ToUtf8(std::u16string_view(units).substr(at, length)));
        at += length;
    }
    return characters;
}

}  // namespace

std::optional<TypedCommand> ReadTypedCommand(std::string_view typed)
{
    const std::vector<std::string> characters = Characters(typed);
    if (characters.size() % 2 != 0)
        return std::nullopt;
    TypedCommand command;
    for (std::size_t i = 0; i < characters.size(); i += 2) {
        const std::string pair = characters[i] + characters[i + 1];
        command.shown += "0x" + pair + " ";
        // Two one-byte characters may be hex digits; anything wider is not.
        command.bytes.push_back(pair.size() == 2 ? static_cast<std::uint8_t>(HexFieldValue(pair)) : 0xFF);
    }
    return command;
}

void AppendReplyBytes(std::string& text, const std::uint8_t* bytes, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        text += "0x";
        AppendHex(text, bytes + i, 1);
        text += ' ';
    }
}

}  // namespace quillon
