#pragma once
#include <string>

namespace quillon::sim {

// Counts the programs that have the device's port open, by watching the
// slave path for opens and closes.  A real device's bytes are lost while no
// one listens; with the count the simulator can drop them too, instead of
// leaving stale replies in the line for the next program that opens it.
// Without inotify the port counts as always in use.
class PortUsers {
public:
    PortUsers() = default;
    ~PortUsers() { Stop(); }
    PortUsers(const PortUsers&) = delete;
    PortUsers& operator=(const PortUsers&) = delete;

    void Watch(const std::string& path);
    void Stop();
    // Descriptor to poll, -1 when not watching.
    int Fd() const { return fd_; }
    // Takes the pending events; true when the port went from used to unused
    // or back.
    bool Update();
    bool InUse() const { return fd_ < 0 || users_ > 0; }

private:
    int fd_ = -1;
    int users_ = 0;
};

}  // namespace quillon::sim
