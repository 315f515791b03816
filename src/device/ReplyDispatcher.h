#pragma once
#include "device/ReplyProcessor.h"
#include "device/ReplyRoute.h"

#include <cstdint>
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
//
// When the line goes quiet the processor that was fed last hears of it,
// told how many of the bytes it was fed came after the pause began (a
// notification handled late may carry the start of the next burst along).
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
    // The channel's kNotifyLineQuiet: the burst ended at byte `endedAt` of
    // the input stream (BlockBuffer::Appended()).
    void OnLineQuiet(int port, std::uint64_t endedAt);
    // The rest of what the device is sending now is of no use (an image it
    // was refused): it is dropped, whatever the route, until the line goes
    // quiet.
    void DropUntilQuiet() { dropping_ = true; }

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
    void DropThrough(std::uint64_t endedAt);

    CnComm& comm_;
    const LinkState& link_;
    std::map<ReplyRoute, Handler> handlers_;
    ReplyRoute fedRoute_ = ReplyRoute::None;
    std::uint64_t fedThrough_ = 0;  // input stream position after the last byte fed
    bool dropping_ = false;
};

}  // namespace quillon
