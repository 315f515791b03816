#pragma once

namespace quillon {
class StopSignal;
}

namespace quillon::cli {

// SIGINT and SIGTERM end every verb the same way: the handler only notes the
// signal, the verb ends the exchange in progress, closes the port, prints
// what was done and exits with ExitStatus::Interrupted.
void CatchInterrupts();
bool Interrupted();

// While it lives, an interrupt also raises `stop`, for work that waits on a
// descriptor rather than looking at Interrupted().
class InterruptRaises {
public:
    explicit InterruptRaises(StopSignal& stop);
    ~InterruptRaises();
    InterruptRaises(const InterruptRaises&) = delete;
    InterruptRaises& operator=(const InterruptRaises&) = delete;
};

}  // namespace quillon::cli
