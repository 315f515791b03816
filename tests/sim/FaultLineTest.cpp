// Each fault, armed from the command line or the control channel, seen from
// the tool's end of the line.
#include "sim/SimProcess.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace quillon::test {
namespace {

using Clock = std::chrono::steady_clock;

TEST(FaultLineTest, WriteFaultsAnswerTheNextWriteOnlyAndApplyNothing)
{
    const struct {
        const char* fault;
        const char* reply;
    } faults[] = {
        {"hid", "22424001"}, {"hid-pos", "22424003"}, {"baud-changed", "22414100"}, {"write-error", "33764201"}};
    SimProcess sim;
    for (const auto& f : faults) {
        sim.Command(std::string("fault ") + f.fault);
        ASSERT_NE(sim.WaitForLine("armed"), "") << f.fault;
        sim.Send(HexBytes("21304000"));
        EXPECT_EQ(HexText(sim.Read(4)), f.reply) << f.fault;
        sim.Send(HexBytes("233040"));
        EXPECT_EQ(HexText(sim.Read(4)), "24304001") << f.fault << ": the faulted write was applied";
        sim.Send(HexBytes("21304001"));
        EXPECT_EQ(HexText(sim.Read(4)), "33764200") << f.fault << ": the fault outlived its write";
    }
}

TEST(FaultLineTest, GarbageComesBeforeEveryReplyUntilCleared)
{
    SimProcess sim({"--fault", "garbage=3"});
    sim.Send(HexBytes("231040"));
    EXPECT_EQ(HexText(sim.Read(7)), "A55AFF24104001");
    sim.Send(HexBytes("21304000"));
    EXPECT_EQ(HexText(sim.Read(7)), "A55AFF33764200");
    sim.Command("fault clear");
    ASSERT_NE(sim.WaitForLine("faults cleared"), "");
    sim.Send(HexBytes("231040"));
    EXPECT_EQ(HexText(sim.Read(4)), "24104001");
}

TEST(FaultLineTest, BurstsDeliverTheWholeReplyWithPauses)
{
    SimProcess sim({"--fault", "bursts=2,120"});
    const auto start = Clock::now();
    sim.Send(HexBytes("2332C0"));
    EXPECT_EQ(HexText(sim.Read(7)), "2432C000024142");
    EXPECT_GE(Clock::now() - start, 360ms);  // four bursts, three pauses
}

TEST(FaultLineTest, SilentThenWrongProbeAnswers)
{
    SimProcess sim({"--fault", "silent-probe"});
    sim.Send(HexBytes("231040"));
    EXPECT_EQ(HexText(sim.ReadUntilQuiet(500ms)), "");
    sim.Command("fault wrong-probe");
    EXPECT_NE(sim.WaitForLine("armed"), "");
    sim.Send(HexBytes("231040"));
    EXPECT_EQ(HexText(sim.Read(4)), "24104100");
    const auto afterWrong = Clock::now();
    EXPECT_EQ(HexText(sim.Read(4)), "24104001");  // alone, after a pause
    EXPECT_GE(Clock::now() - afterWrong, 200ms);
    sim.Send(HexBytes("231040"));
    EXPECT_EQ(HexText(sim.Read(4)), "24104001");
}

TEST(FaultLineTest, ReadBackWithoutItsClosingFrameOnce)
{
    SimProcess sim({"--fault", "no-readback-end"});
    sim.Send(HexBytes("233040"
                      "237181"));
    EXPECT_EQ(HexText(sim.ReadUntilQuiet(600ms)), "24304001");
    sim.Send(HexBytes("233040"
                      "237181"));
    EXPECT_EQ(HexText(sim.Read(9)), "24304001"
                                    "2471810000");
}

TEST(FaultLineTest, FloodSendsExactlyTheNoiseAskedForThenTheDeviceAnswers)
{
    SimProcess sim;
    sim.Command("flood 0.25");
    EXPECT_EQ(sim.Read(262144).size(), 262144u);
    EXPECT_EQ(sim.ReadUntilQuiet(200ms).size(), 0u);
    sim.Send(HexBytes("231040"));
    EXPECT_EQ(HexText(sim.Read(4)), "24104001");
}

TEST(FaultLineTest, UnplugHangsUpAndPlugComesBack)
{
    SimProcess sim;
    sim.Command("unplug");
    EXPECT_TRUE(sim.WaitForHangUp(5s));
    EXPECT_NE(sim.WaitForLine("unplugged"), "");
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(sim.LinkPath())));
    sim.Command("plug");
    EXPECT_NE(sim.WaitForLine("serving COM9"), "");
    sim.OpenPort();
    sim.Send(HexBytes("231040"));
    EXPECT_EQ(HexText(sim.Read(4)), "24104001");
}

}  // namespace
}  // namespace quillon::test
