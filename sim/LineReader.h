#pragma once
#include <string>
#include <vector>

namespace quillon::sim {

// Reads command lines from a descriptor (standard input, a FIFO) without
// blocking the simulator: whatever is available is read, whole lines are
// handed out, a partial line waits for its end.
class LineReader {
public:
    enum class State { Open, Ended };

    // One read of what is there; Ended on end of file or a read error.
    State ReadFrom(int fd);
    // Whole lines read so far, without their line ends.
    std::vector<std::string> TakeLines();
    // A last line that never got its line end.
    std::string TakeRest();

private:
    std::string buffer_;
};

}  // namespace quillon::sim
