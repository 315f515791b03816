#include "device/LinkState.h"
#include "support/SessionSupport.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

class LinkStateTest : public ::testing::Test {
protected:
    test::FakeDeviceTimers timers;
    ReplyRoute resting = ReplyRoute::SettingWrite;
    LinkState link{timers, [this] { return resting; }};
};

TEST_F(LinkStateTest, AnOperationHoldsTheRouteAndItsTimersUntilItEnds)
{
    EXPECT_EQ(link.Route(), ReplyRoute::SettingWrite);
    link.StartTimer(DeviceTimer::Connect, 3000);  // nothing runs: no timer
    EXPECT_TRUE(timers.running.empty());

    link.PortOpened(5);
    const LinkOperation readBack = link.Begin(ReplyRoute::ReadBack);
    link.StartTimer(DeviceTimer::ReadBackQuiet, 3000);
    EXPECT_TRUE(link.ReadBusy());
    EXPECT_EQ(link.Route(), ReplyRoute::ReadBack);
    resting = ReplyRoute::DecodedOutput;
    EXPECT_EQ(link.Route(), ReplyRoute::ReadBack);

    // The console takes the route: the read-back ends with its timer, and
    // neither its late end nor its late time-out touches the console.
    const LinkOperation console = link.Begin(ReplyRoute::CommandInteraction);
    EXPECT_FALSE(link.ReadBusy());
    EXPECT_FALSE(timers.Running(DeviceTimer::ReadBackQuiet));
    EXPECT_FALSE(link.TimerExpired(DeviceTimer::ReadBackQuiet));
    EXPECT_FALSE(link.End(readBack));
    EXPECT_EQ(link.Route(), ReplyRoute::CommandInteraction);
    link.StartTimer(DeviceTimer::Interaction, 100);
    EXPECT_TRUE(link.TimerExpired(DeviceTimer::Interaction));
    EXPECT_FALSE(timers.Running(DeviceTimer::Interaction));

    EXPECT_TRUE(link.End(console));
    EXPECT_EQ(link.Route(), ReplyRoute::DecodedOutput);
    EXPECT_FALSE(link.End(console));
}

TEST_F(LinkStateTest, TheRestingRouteChangingEndsOnlyWhatWaitsForTheOperator)
{
    const struct {
        ReplyRoute operation;
        bool ends;
    } cases[] = {
        {ReplyRoute::Version, true},       {ReplyRoute::Resolution, true}, {ReplyRoute::ImageData, true},
        {ReplyRoute::ConnectProbe, false}, {ReplyRoute::ReadBack, false},  {ReplyRoute::CommandInteraction, false},
    };
    link.PortOpened(5);
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.operation));
        const LinkOperation running = link.Begin(c.operation);
        link.RestingChanged();
        EXPECT_EQ(link.IsRunning(running), !c.ends);
        EXPECT_EQ(link.Route(), c.ends ? resting : c.operation);
    }
}

TEST_F(LinkStateTest, ClosingThePortEndsWhatRunsAndTakesTheDeviceOffline)
{
    link.DeviceAnswered();
    EXPECT_FALSE(link.Online());  // no port, no device
    link.PortOpened(5);
    link.DeviceAnswered();
    EXPECT_TRUE(link.Online());
    const LinkOperation probe = link.Begin(ReplyRoute::ConnectProbe);
    link.StartTimer(DeviceTimer::Connect, 3000);
    link.PortClosed();
    EXPECT_FALSE(link.Online() || link.PortOpen() || link.IsRunning(probe));
    EXPECT_TRUE(timers.running.empty());
    // A port opened again has no device proven on it.
    link.PortOpened(5);
    link.DeviceAnswered();
    link.PortOpened(6);
    EXPECT_FALSE(link.Online());
    EXPECT_EQ(link.OpenPort(), 6);
}

}  // namespace
}  // namespace quillon
