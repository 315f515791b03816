// The device model driven directly, for what the line cannot show exactly:
// settings taken from a catalogue, frames cut from input split byte by byte,
// broken frames given up on a quiet line, where burst pauses fall.
#include "sim/CatalogueSource.h"
#include "sim/Device.h"
#include "sim/FrameReader.h"
#include "sim/OutputQueue.h"
#include "sim/SimProcess.h"
#include "support/RecordingPrompt.h"

#include <gtest/gtest.h>

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

// The device with the test catalogue's settings and an unpaced output.
struct TestDevice {
    OutputQueue out{0};
    Device device{DeviceSettings::FromCatalogue(TestCatalogue()), DeviceIdentity{}, out, "", [](const std::string&) {}};
    const SimTime now = SimClock::now();
};

TEST(DeviceUnitTest, ABrokenFrameIsGivenUpOnAQuietLine)
{
    TestDevice t;
    // A write, then part of one whose length swallows a read request.
    t.device.Receive(HexBytes("2132C000034142432132C0"
                              "2332C0"
                              "0001"),
                     t.now);
    EXPECT_EQ(HexText(t.out.TakeAll()), "33764200");
    // On a quiet line the broken write is given up byte by byte, and the
    // read request hidden in it is answered.
    t.device.Tick(t.now + Device::kPartialFrameQuiet);
    EXPECT_EQ(HexText(t.out.TakeAll()), "2432C000034142"
                                        "43");
}

// The closing frame of a read-back waits for the tool's requests to stop,
// so that it comes after the replies to requests sent behind it; with no
// hold it is answered in turn.
TEST(DeviceUnitTest, ReadBackEndWaitsForAQuietLineUnlessThereIsNoHold)
{
    const struct {
        const char* name;
        Millis hold;
        std::string atOnce, beforeHold, afterHold;
    } cases[] = {
        {"held", Device::kReadBackEndQuiet, "24304001", "", "2471810000"},
        {"held longer", Millis{250}, "24304001", "", "2471810000"},
        {"in turn", Millis{0},
         "2471810000"
         "24304001",
         "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestDevice t;
        t.device.SetReadBackEndQuiet(c.hold);
        t.device.Receive(HexBytes("237181"
                                  "233040"),
                         t.now);
        EXPECT_EQ(HexText(t.out.TakeAll()), c.atOnce);
        t.device.Tick(t.now + c.hold - Millis{1});
        EXPECT_EQ(HexText(t.out.TakeAll()), c.beforeHold);
        if (c.hold > Millis::zero()) {
            EXPECT_EQ(t.device.NextDeadline(t.now), t.now + c.hold);
        }
        t.device.Tick(t.now + c.hold);
        EXPECT_EQ(HexText(t.out.TakeAll()), c.afterHold);
    }
}

TEST(DeviceUnitTest, BurstFaultCutsRepliesWithPauses)
{
    TestDevice t;
    ASSERT_EQ(t.device.Faults().Arm("bursts", "3,40"), "");
    t.device.Receive(HexBytes("2332C0"), t.now);
    std::vector<std::string> pieces;
    for (const auto& segment : t.out.Segments())
        pieces.push_back(segment.kind == OutputQueue::Segment::Pause ? "pause" + std::to_string(segment.pause.count())
                                                                     : HexText(segment.bytes));
    EXPECT_EQ(pieces, (std::vector<std::string>{"2432C0", "pause40", "000241", "pause40", "42"}));
}

TEST(DeviceUnitTest, LoaderTakesRecordsOnlyFromASenderThatWaits)
{
    // After the handshake, a whole record followed by a pause is HEX: its
    // sender waits for the answer.  Bytes that go on past the first record,
    // however the line cut them, are a raw image.
    const struct {
        const char* name;
        std::vector<std::string> pieces;
        std::string afterRecordPause, afterImagePause;
        bool erased;
    } cases[] = {
        {"record", {"0000000000"}, "31", "", false},
        {"record in pieces", {"00", "00000000"}, "31", "", false},
        {"stream cut after a record", {"0000000000", "0000000000"}, "", "38", false},
        {"stream in one piece", {"00000001FF00"}, "", "38", false},
        {"erase request", {"02000004000FEB"}, "34", "", true},
        {"stream starting like the erase request", {"02000004000FEB", "00"}, "", "38", false},
        {"bad record", {"00000001FE"}, "39", "", false},
    };
    for (const auto& c : cases) {
        TestDevice t;
        t.device.Receive(HexBytes("21304000"
                                  "327703"),
                         t.now);
        ASSERT_EQ(HexText(t.out.TakeAll()), "33764200"
                                            "3377030000");
        for (const auto& piece : c.pieces)
            t.device.Receive(HexBytes(piece), t.now);
        EXPECT_EQ(HexText(t.out.TakeAll()), "") << c.name;
        t.device.Tick(t.now + FirmwareLoader::kHexDecisionQuiet);
        EXPECT_EQ(HexText(t.out.TakeAll()), c.afterRecordPause) << c.name;
        t.device.Tick(t.now + FirmwareLoader::kImageEndQuiet);
        EXPECT_EQ(HexText(t.out.TakeAll()), c.afterImagePause) << c.name;
        t.device.Tick(t.now + FirmwareLoader::kGiveUpQuiet);
        t.device.Receive(HexBytes("233040"), t.now + FirmwareLoader::kGiveUpQuiet);
        EXPECT_EQ(HexText(t.out.TakeAll()), c.erased ? "24304001" : "24304000") << c.name;
    }
}

TEST(FaultPlanTest, ArmsByNameAndChecksParameters)
{
    const struct {
        const char *name, *arg;
        bool armed;
        const char* described;
    } cases[] = {
        {"bursts", "", true, "bursts(4,50ms)"},
        {"bursts", "8,5", true, "bursts(8,5ms)"},
        {"bursts", "0", false, "none"},
        {"bursts", "3,x", false, "none"},
        {"garbage", "-1", false, "none"},
        {"hid", "2", false, "none"},
        {"melt", "", false, "none"},
    };
    for (const auto& c : cases) {
        FaultPlan plan;
        EXPECT_EQ(plan.Arm(c.name, c.arg).empty(), c.armed) << c.name << " " << c.arg;
        EXPECT_EQ(plan.Describe(), c.described) << c.name << " " << c.arg;
    }
}

TEST(DeviceSettingsTest, KeysAndClassesComeFromEveryCommandType)
{
    CatalogueLists lists;
    lists.treeNodes = {
        {"", "Group", "", "", 1, "", "", 0},          {"", "Control", "", "", 2, "32", "D001", 0},
        {"", "Reset", "", "D001", 3, "32", "", 0},    {"", "Reboot", "", "D010", 3, "32", "", 0},
        {"", "Volume", "", "", 2, " 21 ", "5041", 0}, {"", "Loud", "", "504105", 3, " 21 ", "", 0},
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
    const Bytes stream = HexBytes("4302C1"
                                  "600280"
                                  "01E00000"
                                  "2130400"
                                  "1"
                                  "21318600"
                                  "0C"
                                  "327703"
                                  "2133"
                                  "00");
    std::vector<std::string> frames;
    // One byte at a time: the worst split a line can make.
    for (const auto b : stream) {
        reader.Feed(std::span(&b, 1));
        while (const auto frame = reader.Next())
            frames.push_back(HexText(frame->bytes));
    }
    EXPECT_EQ(frames,
              (std::vector<std::string>{"4302C1", "60028001E00000", "21304001", "213186000C", "327703", "213300"}));
    EXPECT_FALSE(reader.HasPending());
}

}  // namespace
}  // namespace quillon::sim
