#pragma once
#include <optional>

namespace quillon {

// How a line speed is handed to the kernel: a classic Bnnn code where
// termios has one, else BOTHER with the rate given in bits per second
// (256000 and 128000 have no code).
struct SpeedSetting {
    unsigned code;  // Bnnn or BOTHER, for the CBAUD bits of c_cflag
    unsigned rate;  // bits per second, for c_ispeed / c_ospeed
};

// None for a rate of 0 or below: B0 would hang the line up instead of
// setting a speed.
std::optional<SpeedSetting> MapSpeed(int baud);

}  // namespace quillon
