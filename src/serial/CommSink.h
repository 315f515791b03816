#pragma once

namespace quillon {

// Receives the serial channel's notifications.  Called on the channel's
// worker thread: an implementation must only hand the notification on
// (post it to its own thread), never block or call back into the channel.
class ICommSink {
public:
    virtual ~ICommSink() = default;
    // message: one of the CommNotification codes; port: the number the
    // channel was opened with; argument: as the code defines it.
    virtual void OnCommNotify(unsigned message, int port, long argument) = 0;
};

}  // namespace quillon
