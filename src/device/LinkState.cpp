#include "device/LinkState.h"

namespace quillon {

LinkState::LinkState(IDeviceTimers& timers, std::function<ReplyRoute()> restingRoute)
    : timerSource_(timers),
      restingRoute_(std::move(restingRoute))
{
}

void LinkState::PortOpened(int port)
{
    // A port opened anew has no device proven on it yet.
    online_ = false;
    Rest();
    openPort_ = port;
}

void LinkState::PortClosed()
{
    openPort_ = 0;
    online_ = false;
    Rest();
}

void LinkState::DeviceAnswered()
{
    online_ = PortOpen();
}

ReplyRoute LinkState::Route() const
{
    return running_.route == ReplyRoute::None ? restingRoute_() : running_.route;
}

LinkOperation LinkState::Begin(ReplyRoute route)
{
    StopTimersOf(running_.serial);
    running_ = LinkOperation{route, nextSerial_++};
    if (onRoute_)
        onRoute_(Route());
    return running_;
}

bool LinkState::IsRunning(const LinkOperation& operation) const
{
    return operation.serial != 0 && operation.serial == running_.serial;
}

bool LinkState::End(const LinkOperation& operation)
{
    if (!IsRunning(operation))
        return false;
    Ended();
    return true;
}

void LinkState::Rest()
{
    if (running_.route != ReplyRoute::None)
        Ended();
    else if (onRoute_)
        onRoute_(Route());
}

void LinkState::RestingChanged()
{
    switch (running_.route) {
    case ReplyRoute::Version:
    case ReplyRoute::Resolution:
    case ReplyRoute::ImageData: Ended(); break;
    default:
        if (onRoute_)
            onRoute_(Route());
        break;
    }
}

void LinkState::Ended()
{
    StopTimersOf(running_.serial);
    running_ = LinkOperation{};
    if (onRoute_)
        onRoute_(Route());
}

void LinkState::StartTimer(DeviceTimer timer, int milliseconds)
{
    if (running_.route == ReplyRoute::None)
        return;
    timers_[timer] = running_.serial;
    timerSource_.Start(timer, milliseconds);
}

void LinkState::StopTimer(DeviceTimer timer)
{
    if (timers_.erase(timer) > 0)
        timerSource_.Stop(timer);
}

bool LinkState::TimerExpired(DeviceTimer timer)
{
    const auto found = timers_.find(timer);
    const bool current = found != timers_.end() && found->second == running_.serial;
    if (found != timers_.end())
        timers_.erase(found);
    timerSource_.Stop(timer);
    return current;
}

void LinkState::StopTimersOf(unsigned serial)
{
    for (auto it = timers_.begin(); it != timers_.end();) {
        if (it->second == serial) {
            timerSource_.Stop(it->first);
            it = timers_.erase(it);
        } else {
            ++it;
        }
    }
}

}  // namespace quillon
