#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace quillon::sim {

// What the device says about itself when asked for its information fields
// 0xC1 to 0xC8; field 0xC3 is the camera resolution, the others are texts.
struct DeviceIdentity {
    static constexpr std::uint8_t kFirstField = 0xC1;
    static constexpr std::uint8_t kResolutionField = 0xC3;
    static constexpr std::uint8_t kLastField = 0xC8;

    std::array<std::string, 8> texts{
        "QS-BOOT 1.04",           // 0xC1 loader version
        "V3.2.7 build 20260915",  // 0xC2 software version
        "",                       // 0xC3 carries the resolution instead
        "HW-B2",                  // 0xC4 hardware version
        "QS2D2609150042",         // 0xC5 serial number
        "2026-09-15",             // 0xC6 production date
        "QS-2D Imager",           // 0xC7 device type
        "640x480 CMOS, 2D/1D",    // 0xC8 sensor and symbologies
    };
    unsigned width = 640;
    unsigned height = 480;

    const std::string& Text(std::uint8_t field) const { return texts.at(field - kFirstField); }
};

}  // namespace quillon::sim
