#pragma once
#include <functional>
#include <string>

#include "serial/HotplugWatch.h"

namespace quillon {

// Waits without an event loop for the device behind a lost port to come
// back: poll() over the hot-plug sources, judged by HotplugRules.  Made
// while the port is connected, so that its identity is known before it
// goes.
class PortReturnWait {
public:
    using Clock = HotplugRules::Clock;
    using Now = std::function<Clock::time_point()>;
    enum class Result { Returned, Waiting, TooLate };

    explicit PortReturnWait(int port, Now now = &Clock::now, HotplugRules::Exists exists = &HotplugWatch::PathExists);

    // Whether the port has a stable identity to wait for; without one a
    // device plugged in again cannot be told from another.
    bool CanWait() const { return !identity_.empty(); }
    // The channel lost the port: from now the device has a minute to return.
    void Lost();
    // Waits for news until `until` at most.  Returned when the same device
    // is back (it is then watched afresh for the next loss); TooLate once
    // the minute after the loss has passed.
    Result Wait(Clock::time_point until);

private:
    int port_;
    Now now_;
    std::string identity_;
    HotplugWatch watch_;
    Clock::time_point lostAt_{};
};

}  // namespace quillon
