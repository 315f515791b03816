#include "serial/WireTap.h"

#include <atomic>
#include <mutex>

namespace quillon {

namespace {

std::atomic<bool> watching{false};
std::mutex observerMutex;
std::shared_ptr<IWireObserver> current;

}  // namespace

void WireTap::Install(std::shared_ptr<IWireObserver> observer)
{
    std::lock_guard lock(observerMutex);
    current = std::move(observer);
    watching = current != nullptr;
}

bool WireTap::Watching()
{
    return watching.load(std::memory_order_relaxed);
}

void WireTap::Report(const WireEvent& event)
{
    if (!Watching())
        return;
    std::shared_ptr<IWireObserver> observer;
    {
        std::lock_guard lock(observerMutex);
        observer = current;
    }
    if (observer)
        observer->OnWire(event);
}

}  // namespace quillon
