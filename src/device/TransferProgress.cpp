#include "device/TransferProgress.h"

#include <algorithm>
#include <cstdio>

namespace quillon {

int ProgressWatch::PercentOf(const TransferProgress& progress)
{
    if (progress.expected == 0)
        return 0;
    const std::uint64_t percent = std::uint64_t{progress.received} * 100 / progress.expected;
    return static_cast<int>(std::min<std::uint64_t>(percent, 100));
}

ProgressWatch::Step ProgressWatch::Tick(const TransferProgress& progress)
{
    if (progress.finished || (progress.expected > 0 && progress.received >= progress.expected))
        return Step::Close;
    percent_ = PercentOf(progress);
    const bool moved = progress.received != lastReceived_ || (progress.expected > 0) != sawHeader_;
    lastReceived_ = progress.received;
    sawHeader_ = progress.expected > 0;
    idleTicks_ = moved ? 0 : idleTicks_ + 1;
    return idleTicks_ >= kStallTicks ? Step::Stalled : Step::Show;
}

std::string ProgressWatch::Text() const
{
    char text[48];
    std::snprintf(text, sizeof text, "%s %3d%%", "数据提取中", percent_);
    return text;
}

}  // namespace quillon
