#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tools/HexRecords.h"

namespace quillon {

enum class FirmwareKind { Hex, Raw };

// Larger files are refused before they are read: the largest firmware a
// scanner takes is a few MiB, and the whole file is held in memory.
constexpr std::size_t kMaxFirmwareBytes = 64u << 20;

enum class FileFault { None, Unreadable, Empty, TooLarge, BadHex };

// A firmware file read and checked, ready for the loader.
struct FirmwareFile {
    FirmwareKind kind = FirmwareKind::Raw;
    FileFault fault = FileFault::None;
    HexProblem problem{};             // with FileFault::BadHex
    HexRecords records;               // Hex: what is sent, record by record
    std::vector<std::uint8_t> bytes;  // Raw: the whole file
    std::size_t headerLength = 0;     // Raw: leading bytes not sent

    std::span<const std::uint8_t> Payload() const { return std::span(bytes).subspan(headerLength); }
};

// Intel HEX when the file starts ":0" (what the loader's own tools write
// first), when its first line is a well-formed record whatever its count,
// or when its name ends in ".hex"; else a raw image.  A file that is taken
// for HEX is then held to every record rule, so garbage named .hex is
// refused instead of being sent as an image.
FirmwareKind DetectFirmwareKind(std::string_view fileName, std::span<const std::uint8_t> content);

// Reads at most `limit` bytes (a larger file is refused unread), detects
// the kind, parses HEX records or finds an image's headers.
FirmwareFile LoadFirmwareFile(const std::string& path, std::size_t limit = kMaxFirmwareBytes);

}  // namespace quillon
