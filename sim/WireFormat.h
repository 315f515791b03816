#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace quillon::sim {

using Bytes = std::vector<std::uint8_t>;

// Frame classes as the device sees them.
inline constexpr std::uint8_t kReadRequest = 0x23;
inline constexpr std::uint8_t kReadReply = 0x24;
inline constexpr std::uint8_t kInfoRequest = 0x43;
inline constexpr std::uint8_t kInfoReply = 0x44;
inline constexpr std::uint8_t kImageRequest = 0x60;
inline constexpr std::uint8_t kImageData = 0x61;
inline constexpr std::uint8_t kLoaderCommand = 0x32;
inline constexpr std::uint8_t kLoaderTag = 0x77;  // second byte of every loader command
inline constexpr std::uint8_t kWriteReply = 0x33;
inline constexpr std::uint8_t kLinkReply = 0x22;

inline constexpr std::size_t kImageRequestSize = 7;
inline constexpr std::size_t kImageHeaderSize = 11;
// Longest setting frame the device accepts; anything claiming more is noise.
inline constexpr std::size_t kMaxWriteFrame = 1024;

// A two-byte setting key, e.g. 0x3186.  Its low byte's top two bits say how
// many value bytes travel with it.
using SettingKey = std::uint16_t;

enum class LengthForm { None, OneByte, TwoBytes, Counted };

inline LengthForm FormOfKey(SettingKey key)
{
    return static_cast<LengthForm>((key & 0xC0) >> 6);
}

inline SettingKey KeyAt(const Bytes& frame, std::size_t at)
{
    return static_cast<SettingKey>(frame.at(at) << 8 | frame.at(at + 1));
}

// Value bytes a key carries in the fixed forms (the counted form says itself).
inline std::size_t FixedValueSize(LengthForm form)
{
    return form == LengthForm::OneByte ? 1 : form == LengthForm::TwoBytes ? 2 : 0;
}

// Frame: class, key, then the value laid out as the key's form wants it.
// A value that does not fit a fixed form is cut or padded with zeros.
Bytes KeyedFrame(std::uint8_t frameClass, SettingKey key, const Bytes& value);

// Strict hex text ("0a1B") to bytes; nullopt for odd length or a non-hex digit.
std::optional<Bytes> ParseHex(std::string_view text);

void AppendBigEndian16(Bytes& out, unsigned value);
void AppendBigEndian32(Bytes& out, std::uint32_t value);

}  // namespace quillon::sim
