#pragma once
#include <string>

namespace quillon::sim {

// A named pipe through which scripts and tests send control commands, one
// per line (echo "scan 123" > PATH).  The simulator holds a write end of its
// own, so the pipe never reports end of file between two writers.
class ControlFifo {
public:
    ControlFifo() = default;
    ~ControlFifo();
    ControlFifo(const ControlFifo&) = delete;
    ControlFifo& operator=(const ControlFifo&) = delete;

    // Creates the FIFO (replacing a stale one) and opens it.  Returns an
    // error text, empty on success.
    std::string Create(const std::string& path);
    int Fd() const { return fd_; }

private:
    std::string path_;
    int fd_ = -1;
};

}  // namespace quillon::sim
