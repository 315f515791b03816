#include "device/FrameLength.h"

#include "base/HexText.h"

namespace quillon {

int FrameKind(std::string_view hex)
{
    switch (HexFieldValue(hex.substr(4, 2)) >> 6) {
    case 0: return kKindBare;
    case 1: return kKindOneByte;
    case 2: return kKindTwoBytes;
    default: return kKindCounted;
    }
}

std::optional<FrameExtent> FrameAtFront(std::string_view hex)
{
    if (hex.size() < 6)
        return std::nullopt;
    const int kind = FrameKind(hex);
    std::size_t digits = static_cast<std::size_t>(kind);
    if (kind == kKindCounted) {
        // A counted frame with no data is complete at its own 10 digits; it
        // does not wait for a byte of the next frame.
        if (hex.size() < 10)
            return std::nullopt;
        digits = 10 + 2 * std::size_t{HexFieldValue(hex.substr(6, 4))};
    }
    if (hex.size() < digits)
        return std::nullopt;
    return FrameExtent{kind, digits};
}

}  // namespace quillon
