#include "device/ReplyDispatcher.h"

#include "device/LinkState.h"
#include "serial/CnComm.h"

#include <cstdint>
#include <algorithm>
#include <mutex>

namespace quillon {

ReplyDispatcher::ReplyDispatcher(CnComm& comm, const LinkState& link)
    : comm_(comm), link_(link)
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
        std::size_t taken = 0;
        {
            std::lock_guard lock(input.Mutex());
            taken = input.Take(chunk, static_cast<std::uint32_t>(std::min(left, kChunk)));
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

void ReplyDispatcher::DropBuffered()
{
    BlockBuffer& input = comm_.Input();
    std::lock_guard lock(input.Mutex());
    while (input.Take(nullptr, kChunk) > 0) {
    }
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
