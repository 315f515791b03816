#pragma once
#include <chrono>

namespace quillon::sim {

// The simulator works on one monotonic clock; tests pass their own instants.
using SimClock = std::chrono::steady_clock;
using SimTime = SimClock::time_point;
using Millis = std::chrono::milliseconds;

}  // namespace quillon::sim
