#pragma once
#include <atomic>

namespace quillon {

// A one-way "stop now" that a blocked worker notices at once: its
// descriptor becomes readable, so every poll() that watches it wakes.
// Raise() may be called from any thread, any number of times.
class StopSignal {
public:
    StopSignal();
    ~StopSignal();
    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;

    void Raise();
    // Costs no system call: checked before every record of a transfer.
    bool Raised() const { return raised_; }
    // For poll(): readable once raised.
    int Fd() const { return fd_; }
    // Waits `ms` unless raised first; false when raised.
    bool Sleep(int ms) const;

private:
    int fd_;
    std::atomic<bool> raised_ = false;
};

}  // namespace quillon
