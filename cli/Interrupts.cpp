#include "cli/Interrupts.h"

#include "tools/StopSignal.h"

#include <atomic>
#include <csignal>

namespace quillon::cli {

namespace {

std::atomic<bool> interrupted{false};
std::atomic<StopSignal*> raised{nullptr};

void OnInterrupt(int)
{
    interrupted = true;
    if (StopSignal* stop = raised.load())
        stop->Raise();  // an atomic store and a write(): safe in a handler
}

}  // namespace

void CatchInterrupts()
{
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool Interrupted()
{
    return interrupted;
}

InterruptRaises::InterruptRaises(StopSignal& stop)
{
    raised = &stop;
    if (interrupted)
        stop.Raise();
}

InterruptRaises::~InterruptRaises()
{
    raised = nullptr;
}

}  // namespace quillon::cli
