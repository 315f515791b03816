// The simulator's replay of a trace, on an injected clock.
#include <gtest/gtest.h>

#include "sim/TracePlayer.h"

namespace quillon::test {
namespace {

using sim::Bytes;
using sim::Millis;
using sim::SimTime;

struct Played {
    sim::OutputQueue out{0};
    std::vector<std::string> reports;
    sim::TracePlayer player;

    Played(const char* trace, bool paced)
        : player(ReadWireTrace(trace).trace.records, out, paced,
                 [this](const std::string& text) { reports.push_back(text); })
    {
    }
    Bytes Sent() { return out.TakeAll(); }
};

constexpr const char* kTrace = "1.000000 COM9 115200 open\n"
                               "1.200000 COM9 115200 < route=2 41 42\n"  // unsolicited, 0.2 s after the opening
                               "2.000000 COM9 115200 > route=6 23 10 40\n"
                               "2.000000 COM9 115200 > route=6 23 10 41\n"
                               "2.050000 COM9 115200 < route=6 24 10\n"
                               "2.080000 COM9 115200 < route=6 40 01\n"
                               "3.000000 COM9 115200 close\n";

const SimTime t0{};

TEST(TracePlayer, AnswersEachFrameWithTheRecordedBytesAtTheRecordedDelays)
{
    Played p(kTrace, true);
    p.player.PortOpened(t0);
    p.player.Tick(t0 + Millis(199));
    EXPECT_EQ(p.Sent(), Bytes{});
    EXPECT_EQ(p.player.NextDeadline(), t0 + Millis(200));
    p.player.Tick(t0 + Millis(200));
    EXPECT_EQ(p.Sent(), (Bytes{0x41, 0x42}));

    // Two frames in one read, the second split over two: each is matched whole.
    const SimTime t1 = t0 + Millis(5000);
    p.player.Receive(Bytes{0x23, 0x10, 0x40, 0x23}, t1);
    p.player.Receive(Bytes{0x10, 0x41}, t1);
    p.player.Tick(t1 + Millis(49));
    EXPECT_EQ(p.Sent(), Bytes{});
    p.player.Tick(t1 + Millis(50));
    EXPECT_EQ(p.Sent(), (Bytes{0x24, 0x10}));
    p.player.Tick(t1 + Millis(80));
    EXPECT_EQ(p.Sent(), (Bytes{0x40, 0x01}));
    EXPECT_FALSE(p.player.Finished());
    p.player.PortClosed(t1 + Millis(100));
    EXPECT_TRUE(p.player.Finished());
    EXPECT_EQ(p.player.Differences(), 0u);
    EXPECT_EQ(p.reports, std::vector<std::string>{});
}

TEST(TracePlayer, UnpacedEverythingDueGoesAtOnce)
{
    Played p(kTrace, false);
    p.player.PortOpened(t0);
    p.player.Receive(Bytes{0x23, 0x10, 0x40, 0x23, 0x10, 0x41}, t0);
    p.player.Tick(t0);
    EXPECT_EQ(p.Sent(), (Bytes{0x41, 0x42, 0x24, 0x10, 0x40, 0x01}));
}

TEST(TracePlayer, ReportsEveryFrameTheTraceDoesNotHaveNext)
{
    const struct {
        const char* name;
        std::vector<Bytes> frames;  // each followed by a quiet line
        std::vector<std::string> reports;
    } cases[] = {
        {"another frame, then the right ones",
         {{0x23, 0x99}, {0x23, 0x10, 0x40}, {0x23, 0x10, 0x41}},
         {"unexpected frame 23 99; the trace has next: 23 10 40"}},
        {"a frame cut short",
         {{0x23, 0x10}},
         {"unexpected frame 23 10; the trace has next: 23 10 40",
          "the tool closed the port; the trace has next: 23 10 40"}},
        {"a frame too many",
         {{0x23, 0x10, 0x40}, {0x23, 0x10, 0x41}, {0x60}},
         {"unexpected frame 60; the trace has next: no more frames"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Played p(kTrace, false);
        p.player.PortOpened(t0);
        SimTime now = t0;
        for (const auto& frame : c.frames) {
            p.player.Receive(frame, now);
            now += sim::TracePlayer::kFrameQuiet;
            p.player.Tick(now);
        }
        p.player.PortClosed(now);
        EXPECT_EQ(p.reports, c.reports);
        EXPECT_EQ(p.player.Differences(), c.reports.size());
        EXPECT_TRUE(p.player.Finished());
    }
}

}  // namespace
}  // namespace quillon::test
