#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// A raw command as the operator typed it: two characters per byte, sent
// unchanged (no frame, no checksum).
struct TypedCommand {
    // "0x" + the two characters as typed + a blank, for each pair: what the
    // interaction log shows of the command.
    std::string shown;
    // Each pair read as hexadecimal, either letter case; a pair that is not
    // two hex digits (a blank, a letter beyond F, any other character) is
    // 0xFF.
    std::vector<std::uint8_t> bytes;
};

// Characters are counted as a person sees them (Unicode code points of the
// UTF-8 text; a broken byte sequence shows as U+FFFD).  nullopt when their
// number is odd: the command is refused before anything is sent.  An empty
// text is an empty command.
std::optional<TypedCommand> ReadTypedCommand(std::string_view typed);

// Appends each byte as "0x%02x " (lower-case digits, a blank after each):
// how the interaction log shows the device's replies.
void AppendReplyBytes(std::string& text, const std::uint8_t* bytes, std::size_t count);

}  // namespace quillon
