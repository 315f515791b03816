#include "device/QtDeviceTimers.h"

namespace quillon {

QtDeviceTimers::QtDeviceTimers(std::function<void(DeviceTimer)> expired, QObject* parent)
    : QObject(parent),
      expired_(std::move(expired))
{
}

QTimer& QtDeviceTimers::TimerFor(DeviceTimer timer)
{
    QTimer*& slot = timers_[timer];
    if (!slot) {
        slot = new QTimer(this);
        slot->setSingleShot(true);
        connect(slot, &QTimer::timeout, this, [this, timer] { expired_(timer); });
    }
    return *slot;
}

void QtDeviceTimers::Start(DeviceTimer timer, int milliseconds)
{
    TimerFor(timer).start(milliseconds);
}

void QtDeviceTimers::Stop(DeviceTimer timer)
{
    TimerFor(timer).stop();
}

bool QtDeviceTimers::IsRunning(DeviceTimer timer) const
{
    const auto found = timers_.find(timer);
    return found != timers_.end() && found->second->isActive();
}

}  // namespace quillon
