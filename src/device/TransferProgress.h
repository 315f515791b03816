#pragma once
#include <cstdint>
#include <string>

namespace quillon {

// How far an image transfer has come; written by the image processor, read
// by the progress dialog at each tick.
struct TransferProgress {
    std::uint32_t expected = 0;  // pixel bytes announced by the header; 0 before it
    std::uint32_t received = 0;  // pixel bytes in so far
    bool finished = false;       // complete, refused or abandoned
};

// The progress dialog's rules, one call a tick: the bar's percentage and
// text, and when to close.  A transfer that makes no headway for
// kStallTicks ticks is given up, so a device that stops half way cannot
// hold the operator in a modal dialog for ever.
class ProgressWatch {
public:
    static constexpr int kStallTicks = 10;

    enum class Step { Show, Close, Stalled };

    Step Tick(const TransferProgress& progress);

    int Percent() const { return percent_; }
    // "数据提取中 %3d%" filled with the percentage.
    std::string Text() const;

    // received x 100 / expected, 0 while nothing is expected, at most 100.
    static int PercentOf(const TransferProgress& progress);

private:
    int percent_ = 0;
    std::uint32_t lastReceived_ = 0;
    bool sawHeader_ = false;
    int idleTicks_ = 0;
};

}  // namespace quillon
