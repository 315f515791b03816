#pragma once
#include <cstdint>
#include <functional>

namespace quillon {

// The hidden way to reveal the custom-code entry: two double-clicks on the
// marker setting less than 400 ms apart.  The clock is injected (milliseconds
// of a monotonic clock) so the timing can be tested without waiting.
class CustomCodeGesture {
public:
    using Clock = std::function<std::int64_t()>;
    static constexpr std::int64_t kWindowMs = 400;

    explicit CustomCodeGesture(Clock clock);

    // Counts one double-click; true when it completes the gesture.
    bool OnDoubleClick();
    // Back to idle, as every catalogue load does.
    void Reset() { state_ = -1; }

    // -1 idle; otherwise armed (the last measured gap, or 0 after the first click).
    std::int64_t State() const { return state_; }

private:
    Clock clock_;
    std::int64_t state_ = -1;
    std::int64_t lastTime_ = 0;
};

// Milliseconds of the system's monotonic clock.
std::int64_t MonotonicMilliseconds();

}  // namespace quillon
