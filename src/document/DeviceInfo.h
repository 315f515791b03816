#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

inline constexpr const char* kVersionHeading = "条码识别设备版本信息";

// The device's information fields 0xC1 to 0xC8 as its replies fill them.
// Texts are UTF-8; each byte the device sent became the character with that
// code (0 to 255).  The resolution is kept apart from the image last taken,
// so asking for it never changes how that image is read.
struct DeviceInfo {
    static constexpr std::uint8_t kFirstCode = 0xC1;
    static constexpr std::uint8_t kResolutionCode = 0xC3;
    static constexpr std::uint8_t kLastCode = 0xC8;
    static constexpr std::uint32_t kAllKinds = 0xFF;
    static constexpr std::uint32_t kResolutionKind = 0x04;

    std::uint32_t infoKinds = 0;       // one bit per field code received since Clear
    std::array<std::string, 8> texts;  // by code, 0xC1 first
    int width = 0;
    int height = 0;

    void Clear();

    // One whole information frame: 0x44 0x02 code N(16 bits) data.  Sets the
    // code's bit and appends its text (0xC3: stores the resolution and
    // appends the resolution sentence).  Other frames change nothing.
    // Returns infoKinds.
    std::uint32_t ParseInfoReply(const std::uint8_t* frame, std::size_t count);

    const std::string& Text(std::uint8_t code) const { return texts[code - kFirstCode]; }
};

// One line of the version dialog: the field's code, its label ("" for the
// loader text and the resolution sentence, which stand alone) and its text.
struct VersionField {
    std::uint8_t code;
    const char* label;
    std::string text;
};

// The eight fields in the dialog's order: software version, 0xC1 text,
// resolution, hardware version, device type, specification, production
// date, serial number.
std::vector<VersionField> VersionFields(const DeviceInfo& info);

}  // namespace quillon
