#include "sim/LinePace.h"

#include <algorithm>

namespace quillon::sim {

std::size_t LinePace::Allowance(SimTime now, std::size_t max)
{
    if (bytesPerSecond_ == 0)
        return max;
    if (!runStart_) {
        runStart_ = now;
        moved_ = 0;
    }
    const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(now - *runStart_).count();
    const auto due = static_cast<std::uint64_t>(elapsed) * bytesPerSecond_ / 1000000 + 1;
    return due > moved_ ? static_cast<std::size_t>(std::min<std::uint64_t>(due - moved_, max)) : 0;
}

std::optional<SimTime> LinePace::NextByteAt() const
{
    if (!runStart_ || bytesPerSecond_ == 0)
        return std::nullopt;
    return *runStart_ + std::chrono::microseconds((moved_ * 1000000 + bytesPerSecond_ - 1) / bytesPerSecond_);
}

}  // namespace quillon::sim
