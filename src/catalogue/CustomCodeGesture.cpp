#include "catalogue/CustomCodeGesture.h"

#include <chrono>

namespace quillon {

CustomCodeGesture::CustomCodeGesture(Clock clock) : clock_(clock ? std::move(clock) : Clock(MonotonicMilliseconds))
{
}

bool CustomCodeGesture::OnDoubleClick()
{
    const std::int64_t now = clock_();
    bool revealed = false;
    if (state_ == -1) {
        state_ = 0;
    } else {
        const std::int64_t gap = now - lastTime_;
        if (gap >= kWindowMs) {
            state_ = -1;
        } else {
            state_ = gap;
            revealed = true;
        }
    }
    lastTime_ = now;
    return revealed;
}

std::int64_t MonotonicMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace quillon
