#include <gtest/gtest.h>

#include "serial/PortLinks.h"
#include "serial/PortReturnWait.h"
#include "serial/PtyPair.h"
#include "serial/ReconnectOffer.h"

namespace quillon::test {
namespace {

using namespace std::chrono_literals;
using Clock = HotplugRules::Clock;

TEST(ReconnectOfferTest, LastsAMinuteAndGoesWithAnyDeliberateStep)
{
    const auto start = Clock::time_point{} + 1h;
    const struct {
        const char* name;
        Clock::duration checkedAfter;
        bool withdrawnFirst;
        std::optional<int> offered;
    } cases[] = {
        {"just made", 0s, false, 4},
        {"at the end of its minute", 60s, false, 4},
        {"past its minute", 61s, false, std::nullopt},
        {"withdrawn by the operator", 1s, true, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReconnectOffer offer;
        EXPECT_EQ(offer.Port(), std::nullopt);
        offer.Make(4, start);
        if (c.withdrawnFirst)
            offer.Withdraw();
        const bool expired = offer.Expire(start + c.checkedAfter);
        EXPECT_EQ(expired, !c.withdrawnFirst && !c.offered);
        EXPECT_EQ(offer.Port(), c.offered);
        EXPECT_EQ(offer.Expire(start + 2h), c.offered.has_value());
        EXPECT_FALSE(offer.Expire(start + 3h)) << "an offer runs out once";
    }
    EXPECT_EQ(ReconnectOffer::UnpluggedText(3), "COM3 已拔出，设备已断开");
    EXPECT_EQ(ReconnectOffer::ButtonText(12), "重新连接 COM12");
}

// Waits, a fifth of a second at a time, until the wait has an answer.
PortReturnWait::Result Answer(PortReturnWait& wait, const Clock::time_point& now, int tries = 10)
{
    auto result = PortReturnWait::Result::Waiting;
    for (int i = 0; i < tries && result == PortReturnWait::Result::Waiting; ++i)
        result = wait.Wait(now + 200ms);
    return result;
}

// The pseudo-terminal behind COM9 ends and another one is published under
// the same link, as quillon-sim's unplug and plug do; the clock is the test's.
TEST(PortReturnWaitTest, TheSameLinkBackInTimeOnly)
{
    const auto start = Clock::time_point{} + 1h;
    const struct {
        const char* name;
        Clock::duration backAfter;
        PortReturnWait::Result result;
    } cases[] = {
        {"back in time", 30s, PortReturnWait::Result::Returned},
        {"back too late", 61s, PortReturnWait::Result::TooLate},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PortSandbox sandbox;
        auto first = std::make_unique<PtyPair>();
        ASSERT_TRUE(PublishPortLink(9, first->SlavePath()));
        Clock::time_point now = start;
        PortReturnWait wait(9, [&now] { return now; });
        ASSERT_TRUE(wait.CanWait());

        // Unplugged: the line ends and its link goes.  (A dangling link
        // could come back to life: the kernel gives the next terminal
        // opened anywhere the lowest free number.)
        first.reset();
        RemovePortLink(9);
        wait.Lost();
        EXPECT_EQ(Answer(wait, now, 2), PortReturnWait::Result::Waiting);

        // Another device is not the one waited for.
        PtyPair other;
        ASSERT_TRUE(PublishPortLink(8, other.SlavePath()));
        now = start + 10s;
        EXPECT_EQ(Answer(wait, now, 3), PortReturnWait::Result::Waiting);

        now = start + c.backAfter;
        PtyPair second;
        ASSERT_TRUE(PublishPortLink(9, second.SlavePath()));
        EXPECT_EQ(Answer(wait, now), c.result);
    }
}

TEST(PortReturnWaitTest, APortWithoutAStableNameCannotBeWaitedFor)
{
    PortSandbox sandbox;
    PtyPair pty;
    ASSERT_TRUE(PublishPortLink(9, pty.SlavePath()));
    EXPECT_TRUE(PortReturnWait(9).CanWait());
    EXPECT_FALSE(PortReturnWait(7).CanWait());
}

}  // namespace
}  // namespace quillon::test
