#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillon {

// The picture last taken from the device's camera, kept until a new one is
// complete.  Rows are stored bottom row first, as a BMP file wants them.
struct DeviceImage {
    std::vector<std::uint8_t> pixels;  // width x height bytes, grey levels
    int width = 0;
    int height = 0;
    std::size_t byteCount = 0;  // the transfer's size, header included; 0 = no image
    unsigned serial = 0;        // counts the images stored, so a view can tell a new one

    bool Present() const { return byteCount > 0; }
    void Clear()
    {
        pixels.clear();
        width = height = 0;
        byteCount = 0;
        ++serial;
    }
};

}  // namespace quillon
