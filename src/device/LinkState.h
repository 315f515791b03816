#pragma once
#include "device/DeviceTimers.h"
#include "device/ReplyRoute.h"

#include <functional>
#include <map>

namespace quillon {

// One running operation, as its beginner holds it: ending it, or asking
// whether it still runs, never touches a later operation on the same route.
struct LinkOperation {
    ReplyRoute route = ReplyRoute::None;
    unsigned serial = 0;
};

// The state of the device link, kept in one place: whether the port is
// open, whether the device answered the probe, which operation holds the
// reply route and the timers that operation started.
//
// Every device operation (the connect probe, the read-back, the version,
// the resolution, the image, the command interaction) begins here and
// ends here.  Beginning one ends the one that runs, and an operation's
// timers stop when it ends, so a late time-out of an operation that has
// gone can neither move the route nor report.  While no operation runs the
// route is the resting route the window's view and check boxes give.
//
// Qt-free; runs on the session's thread.
class LinkState {
public:
    LinkState(IDeviceTimers& timers, std::function<ReplyRoute()> restingRoute);
    LinkState(const LinkState&) = delete;
    LinkState& operator=(const LinkState&) = delete;

    // The port.  A closed port ends what runs and takes the device offline.
    void PortOpened(int port);
    void PortClosed();
    bool PortOpen() const { return openPort_ > 0; }
    int OpenPort() const { return openPort_; }

    // The device answered the probe on the open port.
    void DeviceAnswered();
    bool Online() const { return online_; }

    // The route in effect: the running operation's, else the resting one.
    ReplyRoute Route() const;
    ReplyRoute RestingRoute() const { return restingRoute_(); }
    // The running operation's route; None while the link rests.
    ReplyRoute Operation() const { return running_.route; }
    bool ReadBusy() const { return running_.route == ReplyRoute::ReadBack; }

    // Ends the running operation and gives the route to a new one.
    LinkOperation Begin(ReplyRoute route);
    bool IsRunning(const LinkOperation& operation) const;
    // Ends `operation` if it still runs (true); the link rests again.
    bool End(const LinkOperation& operation);
    // Ends whatever runs.
    void Rest();
    // The operator changed the view or a box that decides the resting
    // route: an operation that only waits for an answer the operator has
    // turned away from (version, resolution, image) ends; the probe, the
    // read-back and the console run on to their own end.
    void RestingChanged();

    // Starts (or starts over) `timer` for the running operation; with no
    // operation running nothing starts.
    void StartTimer(DeviceTimer timer, int milliseconds);
    void StopTimer(DeviceTimer timer);
    bool TimerRunning(DeviceTimer timer) const { return timers_.contains(timer); }
    // A timer went off: true when it belongs to the running operation (it
    // no longer runs); false for one that was stopped meanwhile.
    bool TimerExpired(DeviceTimer timer);

    // Told whenever the route in effect may have changed (for the trace).
    void SetRouteObserver(std::function<void(ReplyRoute)> observer) { onRoute_ = std::move(observer); }

private:
    void StopTimersOf(unsigned serial);
    void Ended();

    IDeviceTimers& timerSource_;
    std::function<ReplyRoute()> restingRoute_;
    std::function<void(ReplyRoute)> onRoute_;
    int openPort_ = 0;
    bool online_ = false;
    LinkOperation running_;
    unsigned nextSerial_ = 1;
    // Each running timer with the serial of the operation it belongs to.
    std::map<DeviceTimer, unsigned> timers_;
};

}  // namespace quillon
