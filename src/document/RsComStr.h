#pragma once
#include <cstdint>
#include <string>

namespace quillon {

// One line of the serial monitor: a frame sent to the device or a reply.
struct RsComStr {
    enum Direction : std::int32_t { kSent = 1, kReturned = 2 };
    std::int32_t lineX = 5;
    std::int32_t lineY = 0;  // 17 x (index + 1)
    std::string hexText;
    std::int32_t direction = kSent;
};

}  // namespace quillon
