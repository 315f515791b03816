#include "document/DeviceInfo.h"

#include <cstdio>

namespace quillon {

namespace {

constexpr std::uint8_t kInfoClass = 0x44;
constexpr std::uint8_t kInfoGroup = 0x02;
constexpr std::size_t kDataStart = 5;

void AppendLatin1(std::string& text, const std::uint8_t* bytes, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t b = bytes[i];
        if (b < 0x80) {
            text += static_cast<char>(b);
        } else {
            text += static_cast<char>(0xC0 | b >> 6);
            text += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
}

std::uint8_t ByteAt(const std::uint8_t* frame, std::size_t count, std::size_t at)
{
    return at < count ? frame[at] : 0;
}

struct FieldPlace {
    std::uint8_t code;
    const char* label;
};
constexpr FieldPlace kDialogOrder[] = {
    {0xC2, "软件版本："}, {0xC1, ""},           {0xC3, ""},           {0xC4, "硬件版本："},
    {0xC7, "设备类型："}, {0xC8, "设备规格："}, {0xC6, "生产日期："}, {0xC5, "设备序列号："},
};

}  // namespace

void DeviceInfo::Clear()
{
    infoKinds = 0;
    for (std::string& text : texts)
        text.clear();
}

std::uint32_t DeviceInfo::ParseInfoReply(const std::uint8_t* frame, std::size_t count)
{
    if (count < 3 || frame[0] != kInfoClass || frame[1] != kInfoGroup)
        return infoKinds;
    const std::uint8_t code = frame[2];
    if (code < kFirstCode || code > kLastCode)
        return infoKinds;
    infoKinds |= 1u << (code - kFirstCode);
    std::string& text = texts[code - kFirstCode];
    if (code == kResolutionCode) {
        width = ByteAt(frame, count, 5) << 8 | ByteAt(frame, count, 6);
        height = ByteAt(frame, count, 7) << 8 | ByteAt(frame, count, 8);
        char sentence[96];
        std::snprintf(sentence, sizeof sentence, "%s%dpix × %dpix ", "设备图像分辨率为：", width, height);
        text += sentence;
    } else if (count > kDataStart) {
        AppendLatin1(text, frame + kDataStart, count - kDataStart);
    }
    return infoKinds;
}

std::vector<VersionField> VersionFields(const DeviceInfo& info)
{
    std::vector<VersionField> fields;
    for (const FieldPlace& place : kDialogOrder)
        fields.push_back({place.code, place.label, info.Text(place.code)});
    return fields;
}

}  // namespace quillon
