#pragma once
#include "device/ReplyProcessor.h"
#include "device/ReplyRoute.h"

#include <functional>
#include <map>

namespace quillon {

class CnComm;
class LinkState;

// Hands the bytes of each data-arrived notification to the processor of the
// current reply route.  Bytes are taken out of the channel's receive buffer
// in chunks under its lock and fed outside it, so a processor may send,
// disconnect or change the route while it runs; the route is looked at again
// before every chunk.  A route without a processor drops its input.
class ReplyDispatcher {
public:
    // Bytes taken out of the buffer at a time.
    static constexpr std::size_t kChunk = 1023;

    // The link's open port and route are read at every notification.
    ReplyDispatcher(CnComm& comm, const LinkState& link);

    // afterNotification runs once the notification's bytes have all been fed.
    void Register(ReplyRoute route, IReplyProcessor& processor, std::function<void()> afterNotification = {});

    // A notification for another port than the open one is left alone; its
    // bytes stay buffered.
    void OnDeviceData(int port);

    // Drops stale input before a new exchange: waits for queued output to
    // leave, empties the receive buffer, resets the channel's counters and
    // every processor's partial input.
    void DiscardInput();

private:
    struct Handler {
        IReplyProcessor* processor = nullptr;
        std::function<void()> afterNotification;
    };
    const Handler* Find(ReplyRoute route) const;
    void DropBuffered();

    CnComm& comm_;
    const LinkState& link_;
    std::map<ReplyRoute, Handler> handlers_;
    ReplyRoute fedRoute_ = ReplyRoute::None;
};

}  // namespace quillon
