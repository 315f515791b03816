#include "device/ReplyDispatcher.h"

#include "device/LinkState.h"
#include "serial/CnComm.h"

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <utility>

namespace quillon {

ReplyDispatcher::ReplyDispatcher(CnComm& comm, const LinkState& link) : comm_(comm), link_(link)
{
}

void ReplyDispatcher::Register(ReplyRoute route, IReplyProcessor& processor, std::function<void()> afterNotification)
{
    handlers_[route] = Handler{&processor, std::move(afterNotification)};
}

const ReplyDispatcher::Handler* ReplyDispatcher::Find(ReplyRoute route) const
{
    const auto found = handlers_.find(route);
    return found == handlers_.end() ? nullptr : &found->second;
}

void ReplyDispatcher::OnDeviceData(int port)
{
    BlockBuffer& input = comm_.Input();
    // Only what is there now: bytes that arrive meanwhile come with a
    // notification of their own, and a flooding device cannot keep this loop
    // from returning.
    std::size_t left = 0;
    {
        std::lock_guard lock(input.Mutex());
        left = input.Total();
    }
    const Handler* last = nullptr;
    std::uint8_t chunk[kChunk];
    while (left > 0) {
        const ReplyRoute route = link_.Route();
        const Handler* handler = Find(route);
        if (!handler) {
            DropBuffered();
            break;
        }
        if (port != link_.OpenPort())
            break;
        // Checked at every chunk: a refusal ends the image and the link
        // rests again, on a route that must not take the image's rest.
        if (dropping_) {
            DropBuffered();
            break;
        }
        std::size_t taken = 0;
        {
            std::lock_guard lock(input.Mutex());
            taken = input.Take(chunk, static_cast<std::uint32_t>(std::min(left, kChunk)));
            fedThrough_ = input.Appended() - input.Total();
        }
        if (taken == 0)
            break;
        left -= taken;
        if (route != fedRoute_) {
            // What the processor kept belongs to an exchange that has ended.
            handler->processor->Reset();
            fedRoute_ = route;
        }
        last = handler;
        handler->processor->Feed(chunk, taken);
    }
    if (last && last->afterNotification && Find(link_.Route()) == last)
        last->afterNotification();
}

void ReplyDispatcher::OnLineQuiet(int port, std::uint64_t endedAt)
{
    // Bytes that came with no notification of their own (a receive
    // threshold); they may be an image's header that is refused.
    if (!dropping_ && port == link_.OpenPort())
        OnDeviceData(port);
    // A stream being dropped has ended, on this port or on one since closed.
    if (std::exchange(dropping_, false)) {
        if (port == link_.OpenPort())
            DropThrough(endedAt);
        return;
    }
    if (port != link_.OpenPort())
        return;
    const ReplyRoute route = link_.Route();
    const Handler* handler = Find(route);
    if (handler && route == fedRoute_)
        handler->processor->LineQuiet(fedThrough_ > endedAt ? fedThrough_ - endedAt : 0);
}

void ReplyDispatcher::DropThrough(std::uint64_t endedAt)
{
    BlockBuffer& input = comm_.Input();
    std::lock_guard lock(input.Mutex());
    const std::uint64_t front = input.Appended() - input.Total();
    if (endedAt > front)
        input.Take(nullptr, static_cast<std::uint32_t>(std::min<std::uint64_t>(endedAt - front, input.Total())));
}

void ReplyDispatcher::DropBuffered()
{
    BlockBuffer& input = comm_.Input();
    std::lock_guard lock(input.Mutex());
    while (input.Take(nullptr, kChunk) > 0) {}
}

void ReplyDispatcher::DiscardInput()
{
    comm_.DrainTransmit();
    DropBuffered();
    comm_.ResetCounters();
    for (auto& [route, handler] : handlers_)
        handler.processor->Reset();
}

}  // namespace quillon
