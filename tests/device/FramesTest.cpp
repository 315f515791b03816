#include "base/HexText.h"
#include "catalogue/SelectionTargets.h"
#include "device/FrameBuilder.h"
#include "device/FrameLength.h"
#include "device/FrameWriter.h"
#include "device/HexAccumulator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillon {
namespace {

// Every frame written, as upper-case hex, one entry per Write.
struct RecordingWriter : IFrameWriter {
    void Write(const std::uint8_t* bytes, std::size_t count) override
    {
        std::string hex = ToHex(bytes, count);
        for (char& c : hex)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        frames.push_back(hex);
    }
    std::vector<std::string> frames;
};

using Strings = std::vector<std::string>;

struct HexCase {
    const char* text;
    const char* bytes;  // upper-case hex of what is sent
};

TEST(HexText, PairsBadPairsAndAnOddLastDigit)
{
    const HexCase cases[] = {
        {"4302C3", "4302C3"}, {"0A", "0A"}, {"0a", "0A"}, {"G1", "FF"}, {"1G", "FF"}, {"0G", "FF"}, {"00", "00"},
        {"4302C", "4302"},    {"7", ""},    {"", ""},     {" 1", "FF"}, {"ff", "FF"}, {"Ab", "AB"}, {"21-1", "21FF"},
    };
    for (const auto& c : cases) {
        std::string hex = ToHex(HexToBytes(c.text));
        for (char& ch : hex)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        EXPECT_EQ(hex, c.bytes) << c.text;
    }
    EXPECT_EQ(HexFieldValue(""), 0u);
    EXPECT_EQ(HexFieldValue("0004"), 4u);
    EXPECT_EQ(HexFieldValue("ffff"), 0xFFFFu);
    EXPECT_EQ(HexFieldValue("00x1"), 0xFFFFu);
    const std::uint8_t received[] = {0x0A, 0xFF, 0x00};
    EXPECT_EQ(ToHex(received, 3), "0aff00");
}

struct ExtentCase {
    const char* hex;
    int kind;  // 0: not complete yet
    std::size_t digits;
};

TEST(FrameLength, FormsAndCompleteness)
{
    const ExtentCase cases[] = {
        {"4402", 0, 0},      // four digits are not a frame yet
        {"221205", 6, 6},    // form 00
        {"22120577", 6, 6},  // what follows is not part of it
        {"224240", 0, 0},    // form 01 waits for its data byte
        {"22424001", 8, 8},
        {"24318600", 0, 0},  // form 10 waits for 10 digits
        {"243186000c", 10, 10},
        {"4402c3000402800", 0, 0},
        {"4402c300040280", 0, 0},
        {"4402c3000402", 0, 0},
        {"4402c30004028001e0", 11, 18},  // 640 x 480
        {"4402c30004028001e044", 11, 18},
        {"2432c00000", 11, 10},  // a counted frame with no data is whole at once
        {"2432c0ffff", 0, 0},    // 65,535 promised bytes
    };
    for (const auto& c : cases) {
        const auto extent = FrameAtFront(c.hex);
        EXPECT_EQ(extent.has_value(), c.kind != 0) << c.hex;
        if (extent) {
            EXPECT_EQ(extent->kind, c.kind) << c.hex;
            EXPECT_EQ(extent->digits, c.digits) << c.hex;
        }
    }
}

TEST(HexAccumulator, SkippingAByteAtATimeKeepsTheRest)
{
    HexAccumulator acc;
    const std::vector<std::uint8_t> bytes{0x01, 0x02, 0x24, 0x10};
    acc.Append(bytes.data(), bytes.size());
    acc.Consume(2);
    acc.Consume(2);
    EXPECT_EQ(acc.Text(), "2410");
    acc.Append(bytes.data(), 1);
    EXPECT_EQ(acc.Text(), "241001");
    acc.Consume(100);
    EXPECT_EQ(acc.Size(), 0u);
}

TreeNodeInfo Record(int level, const char* cmdType, const char* code, const char* pidFid = "")
{
    TreeNodeInfo record;
    record.level = level;
    record.cmdType = cmdType;
    record.code = code;
    record.pidFid = pidFid;
    return record;
}

struct SettingCase {
    const char* name;
    const char* cmdType;
    const char* code;
    ValueTriple value;
    const char* frame;  // empty: refused
};

TEST(FrameBuilder, SettingFramesByteForByte)
{
    const std::string letters1024(1024, 'x');
    const std::string letters1019(1019, 'x');
    const std::string letters1020(1020, 'x');
    const SettingCase cases[] = {
        {"no value: the whole code", "21", "31860000", {}, "2131860000"},
        {"text: key, length, characters", "21", "31860000", {"ABC", 3, 1, ""}, "21318600034142 43"},
        {"text cut to its length", "21", "51C10000", {"ABCD", 2, 1, ""}, "2151C100024142"},
        {"text shorter than its length", "21", "51C10000", {"A", 3, 1, ""}, "2151C10003410000"},
        {"non-Latin text keeps the low byte", "21", "51C10000", {"条", 1, 1, ""}, "2151C1000161"},
        {"number: key then value, no length", "21", "31810000", {"0005", 2, 2, ""}, "2131810005"},
        {"bytes: key, length, bytes", "21", "45CE0000", {"00112233", 4, 3, ""}, "2145CE000400112233"},
        {"bytes shorter than the length", "21", "45CE0000", {"AB", 3, 3, ""}, "2145CE0003AB0000"},
        {"a bad pair is sent as FF", "21", "3G40", {}, "21FF40"},
        {"an odd digit is not sent", "21", "30400", {}, "213040"},
        {"the largest frame", "21", "51C10000", {letters1019, 1019, 1, ""}, "*1024"},
        {"one byte too many", "21", "51C10000", {letters1020, 1020, 1, ""}, ""},
        {"a huge length", "21", "51C10000", {letters1024, 1 << 30, 1, ""}, ""},
    };
    for (const auto& c : cases) {
        CatalogueLists lists;
        lists.treeNodes = {Record(3, c.cmdType, c.code)};
        std::vector<RsComStr> monitor;
        RecordingWriter writer;
        FrameBuilder builder(lists, monitor, writer);
        const auto result = builder.SendSettingFrame(0, c.value);
        std::string expected = c.frame;
        std::erase(expected, ' ');
        if (expected.empty()) {
            EXPECT_EQ(result, FrameBuilder::SettingResult::TooLong) << c.name;
            EXPECT_TRUE(writer.frames.empty() && monitor.empty()) << c.name;
            continue;
        }
        ASSERT_EQ(writer.frames.size(), 1u) << c.name;
        if (expected[0] == '*') {
            EXPECT_EQ(writer.frames[0].size(), 2u * std::stoul(expected.substr(1))) << c.name;
        } else
            EXPECT_EQ(writer.frames[0], expected) << c.name;
        ASSERT_EQ(monitor.size(), 1u);
        std::string lower = writer.frames[0];
        for (char& ch : lower)
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        EXPECT_EQ(monitor[0].hexText, lower);
        EXPECT_EQ(monitor[0].direction, RsComStr::kSent);
        EXPECT_EQ(monitor[0].lineX, 5);
        EXPECT_EQ(monitor[0].lineY, 17);
    }
}

TEST(FrameBuilder, MonitorRecordsAreStackedAndRepliesLogged)
{
    CatalogueLists lists;
    lists.treeNodes = {Record(3, "21", "304001")};
    std::vector<RsComStr> monitor;
    RecordingWriter writer;
    FrameBuilder builder(lists, monitor, writer);
    builder.SendSettingFrame(0, {});
    builder.LogReply("33764200");
    builder.SendSettingFrame(0, {});
    ASSERT_EQ(monitor.size(), 3u);
    EXPECT_EQ(monitor[1].hexText, "33764200");
    EXPECT_EQ(monitor[1].direction, RsComStr::kReturned);
    EXPECT_EQ(monitor[1].lineY, 34);
    EXPECT_EQ(monitor[2].lineY, 51);
    EXPECT_EQ(builder.SendSettingFrame(1, {}), FrameBuilder::SettingResult::NoRecord);
    EXPECT_EQ(builder.SendSettingFrame(-1, {}), FrameBuilder::SettingResult::NoRecord);
}

TEST(FrameBuilder, RequestFramesOnePerWrite)
{
    CatalogueLists lists;
    lists.treeNodes = {
        Record(1, "", "", ""),       Record(2, "21", "", "3040"),
        Record(3, "21", "304001"),   Record(2, " 21 ", "", "4141"),  // blanks around the class are ignored
        Record(2, "22", "", "5000"),                                 // another class is not read
        Record(3, "21", "31860000"),                                 // output order: read by its key
        Record(3, "21", "318A0000"), Record(3, "21", "318a0000"),    // only exactly as listed
        Record(3, "21", "31860001"),
    };
    lists.connectReadCmds = {{"probe", "1040", "", 1}, {"off", "2040", "", 0}, {"probe2", "1041", "", 1}};
    lists.readCmds = {{"a", "02C1", "", 0}, {"b", "02C2", "", 1}};
    std::vector<RsComStr> monitor;
    RecordingWriter writer;
    FrameBuilder builder(lists, monitor, writer);

    builder.SendReadBackRequests();
    EXPECT_EQ(writer.frames, (Strings{"233040", "234141", "233186", "23318A"}));
    writer.frames.clear();
    builder.SendConnectProbes();
    EXPECT_EQ(writer.frames, (Strings{"231040", "231041"}));
    writer.frames.clear();
    builder.SendInfoRequests();
    EXPECT_EQ(writer.frames, (Strings{"4302C1", "4302C2"}));
    writer.frames.clear();
    builder.SendResolutionRequest();
    builder.SendHexText("23104");
    EXPECT_EQ(writer.frames, (Strings{"4302C3", "2310"}));
    writer.frames.clear();
    builder.SendImageRequest(640, 480);
    EXPECT_TRUE(writer.frames.empty());  // no enabled image command
    lists.transPicCmds = {{"off", "60", "", 0}, {"on", "61", "", 1}};
    builder.SendImageRequest(640, 480);
    EXPECT_EQ(writer.frames, (Strings{"60028001E00000"}));
    EXPECT_TRUE(monitor.empty());
}

}  // namespace
}  // namespace quillon
