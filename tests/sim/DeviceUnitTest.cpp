// The device model driven directly, without a line: settings taken from a
// catalogue, frames cut from split input, pacing of the output queue.
#include "sim/CatalogueSource.h"
#include "sim/Device.h"
#include "sim/FrameReader.h"
#include "sim/OutputQueue.h"
#include "sim/SimProcess.h"
#include "support/RecordingPrompt.h"

#include <gtest/gtest.h>

#include <set>

#include <fcntl.h>
#include <unistd.h>

namespace quillon::sim {
namespace {

using test::HexBytes;
using test::HexText;

CatalogueLists TestCatalogue()
{
    CatalogueLists lists;
    test::RecordingPrompt prompt;
    EXPECT_TRUE(LoadCatalogueLists(QUILLON_SIM_CATALOGUE, lists, prompt));
    return lists;
}

class DeviceUnitTest : public ::testing::Test {
protected:
    std::string Exchange(const std::string& hexIn)
    {
        device.Receive(HexBytes(hexIn), now);
        return HexText(out.TakeAll());
    }

    OutputQueue out{0};
    std::vector<std::string> log;
    Device device{DeviceSettings::FromCatalogue(TestCatalogue()), DeviceIdentity{}, out, "",
                  [this](const std::string& line) { log.push_back(line); }};
    SimTime now = SimClock::now();
};

TEST_F(DeviceUnitTest, StartingValuesComeFromTheCatalogue)
{
    struct Case {
        const char* request;
        const char* reply;
    } cases[] = {
        {"233040", "24304001"},          // first option of a one-byte setting
        {"234141", "24414103"},          // the option marked as factory default wins
        {"233186", "2431860000"},        // a value-taking option: zeros
        {"2332C0", "2432C000024142"},    // counted form, value from the option code
        {"233300", "243300"},            // no value at all
        {"231040", "24104001"},          // the connect probe
        {"235555", ""},                  // unknown key: no answer
    };
    for (const auto& c : cases)
        EXPECT_EQ(Exchange(c.request), c.reply) << c.request;
}

TEST_F(DeviceUnitTest, WritesChangeWhatReadsReturn)
{
    EXPECT_EQ(Exchange("2132C000034142432132C0"), "33764200");  // a write, then part of one
    EXPECT_EQ(Exchange("2332C0"), "");                          // counts as the partial write's length
    EXPECT_EQ(Exchange("0001"), "");
    // On a quiet line the broken write is given up byte by byte, and the
    // read request hidden in it is answered.
    device.Tick(now + Device::kPartialFrameQuiet);
    EXPECT_EQ(HexText(out.TakeAll()), "2432C000034142" "43");
    EXPECT_EQ(Exchange("2132C0000158"), "33764200");
    EXPECT_EQ(Exchange("2332C0"), "2432C0000158");
}

TEST_F(DeviceUnitTest, FactoryResetThroughTheLoaderEraseRestoresValues)
{
    EXPECT_EQ(Exchange("21304000"), "33764200");
    EXPECT_EQ(Exchange("327702"), "3377020000");
    EXPECT_EQ(Exchange("233040"), "24304001");
}

TEST_F(DeviceUnitTest, ReadBackEndWaitsForAQuietLine)
{
    EXPECT_EQ(Exchange("237181"), "");
    EXPECT_EQ(Exchange("233040"), "24304001");
    ASSERT_TRUE(device.NextDeadline(now).has_value());
    device.Tick(now + Device::kReadBackEndQuiet - Millis(1));
    EXPECT_TRUE(out.Empty());
    device.Tick(now + Device::kReadBackEndQuiet);
    EXPECT_EQ(HexText(out.TakeAll()), "2471810000");
    EXPECT_FALSE(device.NextDeadline(now).has_value());
}

TEST_F(DeviceUnitTest, JunkBeforeAFrameIsSkippedWhenTheLineFallsQuiet)
{
    EXPECT_EQ(Exchange("55231040"), "");
    device.Tick(now + Device::kPartialFrameQuiet);
    EXPECT_EQ(HexText(out.TakeAll()), "24104001");
}

TEST_F(DeviceUnitTest, BurstFaultCutsRepliesWithPauses)
{
    ASSERT_EQ(device.Faults().Arm("bursts", "3,40"), "");
    device.Receive(HexBytes("2332C0"), now);
    std::vector<std::string> pieces;
    for (const auto& segment : out.Segments())
        pieces.push_back(segment.kind == OutputQueue::Segment::Pause ? "pause" + std::to_string(segment.pause.count())
                                                                       : HexText(segment.bytes));
    EXPECT_EQ(pieces, (std::vector<std::string>{"2432C0", "pause40", "000241", "pause40", "42"}));
}

TEST(FaultPlanTest, ArmsByNameAndChecksParameters)
{
    struct Case {
        const char* name;
        const char* arg;
        bool armed;
        const char* described;
    } cases[] = {
        {"bursts", "", true, "bursts(4,50ms)"},
        {"bursts", "8,5", true, "bursts(8,5ms)"},
        {"bursts", "0", false, "none"},
        {"bursts", "3,x", false, "none"},
        {"garbage", "7", true, "garbage(7)"},
        {"garbage", "-1", false, "none"},
        {"hid", "", true, "hid"},
        {"hid", "2", false, "none"},
        {"no-readback-end", "", true, "no-readback-end"},
        {"melt", "", false, "none"},
    };
    for (const auto& c : cases) {
        FaultPlan plan;
        EXPECT_EQ(plan.Arm(c.name, c.arg).empty(), c.armed) << c.name << " " << c.arg;
        EXPECT_EQ(plan.Describe(), c.described) << c.name << " " << c.arg;
    }
    FaultPlan plan;
    ASSERT_EQ(plan.Arm("write-error"), "");
    EXPECT_TRUE(plan.Spend(Fault::WriteError));
    EXPECT_FALSE(plan.Spend(Fault::WriteError));
}

TEST(DeviceSettingsTest, KeysAndClassesComeFromEveryCommandType)
{
    CatalogueLists lists;
    lists.treeNodes = {
        {"", "Group", "", "", 1, "", "", 0},
        {"", "Control", "", "", 2, "32", "D001", 0},
        {"", "Reset", "", "D001", 3, "32", "", 0},
        {"", "Reboot", "", "D010", 3, "32", "", 0},
        {"", "Volume", "", "", 2, " 21 ", "5041", 0},
        {"", "Loud", "", "504105", 3, " 21 ", "", 0},
        {"", "Broken", "", "", 2, "2X", "6000", 0},
    };
    lists.connectReadCmds = {{"probe", "1041", "", 1}, {"off", "1042", "", 0}};
    const auto settings = DeviceSettings::FromCatalogue(lists);
    EXPECT_TRUE(settings.IsWriteClass(0x32));
    EXPECT_TRUE(settings.IsWriteClass(0x21));
    ASSERT_NE(settings.Find(0xD010), nullptr);
    EXPECT_EQ(settings.Find(0xD010)->writeClass, 0x32);
    ASSERT_NE(settings.Find(0x5041), nullptr);
    EXPECT_EQ(HexText(settings.Find(0x5041)->value), "05");
    EXPECT_EQ(settings.Find(0x6000), nullptr);  // a command type that is no byte
    EXPECT_TRUE(settings.IsProbeKey(0x1040));
    EXPECT_TRUE(settings.IsProbeKey(0x1041));
    EXPECT_FALSE(settings.IsProbeKey(0x1042));
    ASSERT_NE(settings.Find(0x1041), nullptr);
    EXPECT_EQ(HexText(settings.Find(0x1041)->value), "01");
    ASSERT_NE(settings.Find(DeviceSettings::kReadBackEndKey), nullptr);
}

TEST(FrameReaderTest, CutsFramesByTheirClassAndKeyForm)
{
    const auto lists = TestCatalogue();
    const auto settings = DeviceSettings::FromCatalogue(lists);
    FrameReader reader(settings);
    const Bytes stream = HexBytes("4302C1" "600280" "01E00000" "2130400" "1" "21318600" "0C" "327703" "2133" "00");
    std::vector<std::string> frames;
    // One byte at a time: the worst split a line can make.
    for (const auto b : stream) {
        reader.Feed(std::span(&b, 1));
        while (const auto frame = reader.Next())
            frames.push_back(HexText(frame->bytes));
    }
    EXPECT_EQ(frames, (std::vector<std::string>{"4302C1", "60028001E00000", "21304001", "213186000C", "327703", "213300"}));
    EXPECT_FALSE(reader.HasPending());
}

TEST(FrameReaderTest, RecognisesChecksummedHexRecordsOnly)
{
    EXPECT_TRUE(FrameReader::IsHexRecord(HexBytes("020000040800F2")));
    EXPECT_TRUE(FrameReader::IsHexRecord(HexBytes("00000001FF")));
    EXPECT_FALSE(FrameReader::IsHexRecord(HexBytes("00000001FE")));   // checksum
    EXPECT_FALSE(FrameReader::IsHexRecord(HexBytes("000000FF01")));   // type
    EXPECT_FALSE(FrameReader::IsHexRecord(HexBytes("020000040800")));  // short
}

TEST(OutputQueueTest, KeepsToTheLineSpeed)
{
    int pipeFds[2];
    ASSERT_EQ(pipe2(pipeFds, O_NONBLOCK), 0);
    OutputQueue out(1000);  // 1000 bytes a second
    out.Append(Bytes(100, 0x41));
    const SimTime start = SimClock::now();
    EXPECT_EQ(out.Pump(pipeFds[1], start), OutputQueue::PumpResult::Waiting);
    std::uint8_t got[200];
    EXPECT_EQ(read(pipeFds[0], got, sizeof got), 1);  // one byte at once
    ASSERT_TRUE(out.NextWake().has_value());
    EXPECT_EQ(*out.NextWake(), start + Millis(1));
    EXPECT_EQ(out.Pump(pipeFds[1], start + Millis(50)), OutputQueue::PumpResult::Waiting);
    EXPECT_EQ(read(pipeFds[0], got, sizeof got), 50);
    EXPECT_EQ(out.Pump(pipeFds[1], start + Millis(100)), OutputQueue::PumpResult::Idle);
    EXPECT_EQ(read(pipeFds[0], got, sizeof got), 49);
    close(pipeFds[0]);
    close(pipeFds[1]);
}

TEST(OutputQueueTest, NoiseIsMadeUpAsItGoes)
{
    OutputQueue out(0);
    out.AppendNoise(10000);
    out.Append(HexBytes("2410"));
    const Bytes all = out.TakeAll();
    ASSERT_EQ(all.size(), 10002u);
    EXPECT_EQ(all[10000], 0x24);
    EXPECT_GT(std::set<std::uint8_t>(all.begin(), all.begin() + 10000).size(), 200u);
}

}  // namespace
}  // namespace quillon::sim
