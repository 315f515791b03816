#pragma once
#include <QObject>

#include "serial/CommSink.h"

namespace quillon {

// Carries the channel's notifications from its worker thread to the thread
// this object lives in (the window's), where notified() is emitted.  Posted,
// never sent: the worker never waits for the window.
class QtCommNotifier : public QObject, public ICommSink {
    Q_OBJECT
public:
    explicit QtCommNotifier(QObject* parent = nullptr) : QObject(parent) {}

    void OnCommNotify(unsigned message, int port, long argument) override;

signals:
    void notified(unsigned message, int port, long argument);
};

}  // namespace quillon
