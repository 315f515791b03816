#include "device/ReplyDispatcher.h"

#include "serial/CnComm.h"

#include <cstdint>
#include <algorithm>
#include <mutex>
#include <utility>

namespace quillon {

ReplyDispatcher::ReplyDispatcher(CnComm& comm, const int& portNumber, const int& replyRoute)
    : comm_(comm), portNumber_(portNumber), replyRoute_(replyRoute)
{
}

void ReplyDispatcher::Register(ReplyRoute route, IReplyProcessor& processor, std::function<void()> afterNotification)
{
    handlers_[static_cast<int>(route)] = Handler{&processor, std::move(afterNotification)};
}

const ReplyDispatcher::Handler* ReplyDispatcher::Find(int route) const
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
    if (dropping_ && port == portNumber_) {
        DropBuffered();
        return;
    }
    const Handler* last = nullptr;
    std::uint8_t chunk[kChunk];
    while (left > 0) {
        const int route = replyRoute_;
        const Handler* handler = Find(route);
        if (!handler) {
            DropBuffered();
            break;
        }
        if (port != portNumber_)
            break;
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
    if (last && last->afterNotification && Find(replyRoute_) == last)
        last->afterNotification();
}

void ReplyDispatcher::OnLineQuiet(int port, std::uint64_t endedAt)
{
    // Bytes that came with no notification of their own (a receive
    // threshold); they may be an image's header that is refused.
    if (!dropping_ && port == portNumber_)
        OnDeviceData(port);
    // A stream being dropped has ended, on this port or on one since closed.
    if (std::exchange(dropping_, false)) {
        if (port == portNumber_)
            DropThrough(endedAt);
        return;
    }
    if (port != portNumber_)
        return;
    const Handler* handler = Find(replyRoute_);
    if (handler && replyRoute_ == fedRoute_)
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
