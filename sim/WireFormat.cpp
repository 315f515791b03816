#include "sim/WireFormat.h"

#include "base/HexDigit.h"

namespace quillon::sim {

Bytes KeyedFrame(std::uint8_t frameClass, SettingKey key, const Bytes& value)
{
    Bytes frame{frameClass};
    AppendBigEndian16(frame, key);
    const LengthForm form = FormOfKey(key);
    if (form == LengthForm::Counted) {
        AppendBigEndian16(frame, static_cast<unsigned>(value.size()));
        frame.insert(frame.end(), value.begin(), value.end());
        return frame;
    }
    const std::size_t size = FixedValueSize(form);
    for (std::size_t i = 0; i < size; ++i)
        frame.push_back(i < value.size() ? value[i] : 0);
    return frame;
}

std::optional<Bytes> ParseHex(std::string_view text)
{
    if (text.size() % 2 != 0)
        return std::nullopt;
    Bytes bytes;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = HexDigitValue(text[i]);
        const int low = HexDigitValue(text[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
    }
    return bytes;
}

void AppendBigEndian16(Bytes& out, unsigned value)
{
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void AppendBigEndian32(Bytes& out, std::uint32_t value)
{
    AppendBigEndian16(out, value >> 16);
    AppendBigEndian16(out, value & 0xFFFF);
}

}  // namespace quillon::sim
