#pragma once

namespace quillon {

// The device link's timers.  The window runs them on QTimer, the
// command-line tool and the tests on clocks of their own; whoever runs them
// calls DeviceSession::OnTimer when one expires.  A timer fires once per
// Start; starting a running timer starts it over.
enum class DeviceTimer {
    Connect = 1,        // the connect probe's answer is due
    Interaction = 2,    // the command interaction's reply is due
    ReadBackQuiet = 3,  // a running read-back has gone quiet
};

class IDeviceTimers {
public:
    virtual ~IDeviceTimers() = default;
    virtual void Start(DeviceTimer timer, int milliseconds) = 0;
    virtual void Stop(DeviceTimer timer) = 0;
};

}  // namespace quillon
