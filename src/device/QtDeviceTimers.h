#pragma once
#include "device/DeviceTimers.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <map>

namespace quillon {

// The device link's timers on the window's event loop: one single-shot
// QTimer per timer, whose expiry is handed to `expired`.
class QtDeviceTimers : public QObject, public IDeviceTimers {
    Q_OBJECT
public:
    explicit QtDeviceTimers(std::function<void(DeviceTimer)> expired, QObject* parent = nullptr);

    void Start(DeviceTimer timer, int milliseconds) override;
    void Stop(DeviceTimer timer) override;
    bool IsRunning(DeviceTimer timer) const;

private:
    QTimer& TimerFor(DeviceTimer timer);

    std::function<void(DeviceTimer)> expired_;
    std::map<DeviceTimer, QTimer*> timers_;
};

}  // namespace quillon
