#include <gtest/gtest.h>

#include <asm/termbits.h>

#include "serial/CommTimeouts.h"
#include "serial/LineEvents.h"
#include "serial/SerialSpeed.h"

namespace quillon::test {
namespace {

TEST(SerialSpeedTest, MapsRatesToCodesOrBother)
{
    const struct {
        int baud;
        unsigned code;
    } cases[] = {{4800, B4800},     {9600, B9600},    {115200, B115200}, {230400, B230400},
                 {460800, B460800}, {256000, BOTHER}, {128000, BOTHER},  {14400, BOTHER}};
    for (const auto& c : cases) {
        const auto speed = MapSpeed(c.baud);
        ASSERT_TRUE(speed.has_value()) << c.baud;
        EXPECT_EQ(speed->code, c.code) << c.baud;
        EXPECT_EQ(speed->rate, unsigned(c.baud));
    }
    for (int refused : {0, -1, -115200})
        EXPECT_FALSE(MapSpeed(refused).has_value()) << refused;
}

// 256 bytes of ten bits at the line speed, and 200 ms.
TEST(CommTimeoutsTest, OutputStallsAfterTheTimeFor256BytesAndSomeSlack)
{
    const std::pair<unsigned, int> cases[] = {{460800, 205}, {115200, 222}, {9600, 466}, {4800, 733}, {0, 2560200}};
    for (const auto& [bitsPerSecond, ms] : cases)
        EXPECT_EQ(StallMs(bitsPerSecond), ms) << bitsPerSecond;
}

TEST(LineEventsTest, ComparingReadingsGivesTheEventsBetweenThem)
{
    LineSnapshot base;
    base.modem = kModemCts;
    const struct {
        const char* name;
        LineSnapshot after;
        uint32_t events;
        unsigned errors;
    } cases[] = {
        {"nothing", base, 0, 0},
        {"cts drops", {0, 0, 0, 0, 0, 0}, kEventCts, 0},
        {"dsr and carrier rise", {kModemCts | kModemDsr | kModemCarrier, 0, 0, 0, 0, 0}, kEventDsr | kEventCarrier, 0},
        {"ring", {kModemCts | kModemRing, 0, 0, 0, 0, 0}, kEventRing, 0},
        {"break", {kModemCts, 1, 0, 0, 0, 0}, kEventBreak, 0},
        {"framing and parity", {kModemCts, 0, 2, 0, 1, 0}, kEventLineError, kErrorFraming | kErrorParity},
        {"overruns", {kModemCts, 0, 0, 5, 0, 1}, kEventLineError, kErrorOverrun | kErrorQueueOverflow},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto changes = CompareLines(base, c.after);
        EXPECT_EQ(changes.events, c.events);
        EXPECT_EQ(changes.errors, c.errors);
    }
}

}  // namespace
}  // namespace quillon::test
