#include "device/DecodedOutputFile.h"
#include "device/DecodedOutputProcessor.h"
#include "document/DecodedText.h"
#include "document/QuillonDoc.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillon {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes B(std::string_view bytes)
{
    return Bytes(bytes.begin(), bytes.end());
}

std::vector<std::string> Convert(OutputEncoding encoding, const std::vector<Bytes>& bursts)
{
    DecodedTextConverter converter;
    converter.SetEncoding(encoding);
    std::vector<std::string> texts;
    for (const Bytes& burst : bursts)
        texts.push_back(converter.Convert(burst.data(), burst.size()));
    return texts;
}

struct ConvertCase {
    const char* name;
    OutputEncoding encoding;
    std::vector<Bytes> bursts;
    std::vector<std::string> texts;
};

TEST(DecodedText, BurstsBecomeTexts)
{
    using E = OutputEncoding;
    const ConvertCase cases[] = {
        {"GBK pair", E::Gbk, {B("\xC4\xE3\xBA\xC3")}, {"你好"}},
        {"UTF-8 pair", E::Utf8, {B("\xE4\xBD\xA0\xE5\xA5\xBD")}, {"你好"}},
        {"ASCII either way", E::Utf8, {B("6901234567892")}, {"6901234567892"}},
        {"cut at a zero byte", E::Gbk, {B(std::string_view("AB\0CD", 5))}, {"AB"}},
        {"zero first", E::Utf8, {B(std::string_view("\0CD", 3))}, {""}},
        {"emoji and Korean kept", E::Utf8, {B("\xF0\x9F\x98\x80\xED\x95\x9C")}, {"😀한"}},
        {"GBK split between bursts",
         E::Gbk,
         {B("A\xC4\xE3\xBA"), B("\xC3"
                                "B")},
         {"A你", "好B"}},
        {"UTF-8 split between bursts", E::Utf8, {B("A\xE4\xBD"), B("\xA0\xE5"), B("\xA5\xBD")}, {"A", "你", "好"}},
        {"a cut-off character before a zero is broken", E::Utf8, {B(std::string_view("A\xE4\xBD\0", 4))}, {"A\uFFFD"}},
        {"GBK bytes while UTF-8 is chosen", E::Utf8, {B("\xC4\xE3\xBA\xC3")}, {"你好"}},
        {"one invalid byte after UTF-8", E::Utf8, {B("\xE4\xBD\xA0\xE5\xA5\xBD\xFF")}, {"你好\uFFFD"}},
        {"a broken sequence among good ones",
         E::Utf8,
         {B("\xE4\xBD"
            "A\xE5\xA5\xBD\xC0\xAF")},
         {"\uFFFDA好\uFFFD\uFFFD"}},
        {"a broken sequence, then a split one",
         E::Utf8,
         {B("\xF0\x9F\x98\x80\xF0\x9F"
            "B\xE4"),
          B("\xBD\xA0")},
         {"😀\uFFFDB", "你"}},
        {"invalid in both",
         E::Utf8,
         {B("\xFF\xFF"
            "A")},
         {"\uFFFD\uFFFDA"}},
        {"invalid GBK",
         E::Gbk,
         {B("\xFF"
            "A\x81\x20")},
         {"\uFFFDA\uFFFD "}},
    };
    for (const ConvertCase& c : cases)
        EXPECT_EQ(Convert(c.encoding, c.bursts), c.texts) << c.name;
}

TEST(DecodedText, LongBurstsLoseNothing)
{
    // 30,001 two-byte characters: pieces of 10,240 bytes cut characters in half.
    std::string gbk;
    std::string expected;
    for (int i = 0; i < 30001; ++i) {
        gbk += i % 2 ? "\xC4\xE3" : "\xBA\xC3";
        expected += i % 2 ? "你" : "好";
    }
    gbk = "X" + gbk;
    expected = "X" + expected;
    EXPECT_EQ(Convert(OutputEncoding::Gbk, {B(gbk)}), std::vector<std::string>{expected});

    std::string utf8;
    for (int i = 0; i < 40000; ++i)
        utf8 += "\xF0\x9F\x98\x80";
    EXPECT_EQ(Convert(OutputEncoding::Utf8, {B(utf8)}), std::vector<std::string>{utf8});
}

TEST(DecodedText, ForgettingDropsAHeldBackHalf)
{
    for (const bool forget : {false, true}) {
        DecodedTextConverter converter;
        const Bytes first = B("A\xC4");
        EXPECT_EQ(converter.Convert(first.data(), first.size()), "A");
        if (forget)
            converter.Forget();
        const Bytes second = B("\xBA\xC3");
        EXPECT_EQ(converter.Convert(second.data(), second.size()), forget ? "好" : "暮");
    }
}

TEST(DecodedOutput, ARecordEndsWhereTheLinePaused)
{
    CQuillonDoc doc;
    int redraws = 0;
    DecodedOutputProcessor processor(doc, [&] { ++redraws; });
    const auto feed = [&](std::string_view piece) {
        processor.Feed(reinterpret_cast<const std::uint8_t*>(piece.data()), piece.size());
    };
    for (const char c : std::string_view("6901234567892"))  // at 1,200 baud, a byte at a time
        feed({&c, 1});
    processor.LineQuiet(0);
    feed("ABC123");  // two barcodes read in one burst, handed over in two chunks
    feed("DEF456");
    processor.LineQuiet(0);
    processor.LineQuiet(0);  // nothing arrived: no record, no redraw
    feed("X1");
    feed("Y2");  // a late notification carried the next burst's start along
    processor.LineQuiet(2);
    feed("Z");
    processor.LineQuiet(0);
    feed("\xC4\xE3\xBA");
    processor.Reset();  // the capture ends: what came is kept, the half character is not
    feed("\xBA\xC3"
         "Z");
    processor.Reset();
    processor.Reset();
    const std::vector<std::string> expected{"6901234567892", "ABC123DEF456", "X1", "Y2Z", "你", "好Z"};
    std::vector<std::string> texts;
    for (const RsTransDataStr& line : doc.decodedLines)
        texts.push_back(line.lineText);
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(redraws, 6);
}

TEST(DecodedOutput, AFloodIsCutIntoRecordsAndNothingIsLost)
{
    CQuillonDoc doc;
    DecodedOutputProcessor processor(doc, {});
    std::string flood;
    for (int i = 0; flood.size() < 250000; ++i)
        flood += "\xC4\xE3" + std::to_string(i % 10);  // 3 bytes: a record edge splits characters
    for (std::size_t at = 0; at < flood.size(); at += 1023)
        processor.Feed(reinterpret_cast<const std::uint8_t*>(flood.data()) + at,
                       std::min<std::size_t>(1023, flood.size() - at));
    processor.LineQuiet(0);
    ASSERT_EQ(doc.decodedLines.size(), 3u);
    std::string joined;
    for (const RsTransDataStr& line : doc.decodedLines)
        joined += line.lineText;
    std::string expected;
    for (int i = 0; expected.size() < joined.size(); ++i)
        expected += "你" + std::to_string(i % 10);
    EXPECT_EQ(joined, expected);
    EXPECT_EQ(joined.size(), flood.size() / 3 * 4);
}

TEST(DecodedOutputFile, Utf16WithBomAndCrLfPerRecord)
{
    test::TempDir dir;
    struct Case {
        std::vector<std::string> lines;
        std::string bytes;
    };
    const Case cases[] = {
        {{"A", "B"},
         std::string("\xFF\xFE"
                     "A\0\r\0\n\0B\0\r\0\n\0",
                     14)},
        {{"你好"}, std::string("\xFF\xFE\x60\x4F\x7D\x59\r\0\n\0", 10)},
        {{"😀", ""}, std::string("\xFF\xFE\x3D\xD8\x00\xDE\r\0\n\0\r\0\n\0", 14)},
        {{}, std::string("\xFF\xFE", 2)},
    };
    for (const Case& c : cases) {
        std::vector<RsTransDataStr> records;
        for (const std::string& line : c.lines)
            records.push_back({line});
        const std::string path = (dir.Path() / "out.txt").string();
        EXPECT_EQ(SaveDecodedOutput(path, records), DecodedSaveResult::Written);
        EXPECT_EQ(test::ReadFile(path), c.bytes);
    }
}

TEST(DecodedOutputFile, FailuresAreReported)
{
    test::TempDir dir;
    const std::vector<RsTransDataStr> records{{"A"}};
    EXPECT_EQ(SaveDecodedOutput((dir.Path() / "no" / "such.txt").string(), records), DecodedSaveResult::NotCreated);
    EXPECT_STREQ(DecodedSaveMessage(DecodedSaveResult::NotCreated), "创建解码输出文件失败！");
    EXPECT_EQ(SaveDecodedOutput(dir.Path().string(), records), DecodedSaveResult::NotCreated);
    EXPECT_EQ(SaveDecodedOutput("/dev/full", records), DecodedSaveResult::WriteFailed);
    EXPECT_EQ(DecodedSaveMessage(DecodedSaveResult::Written), nullptr);
}

}  // namespace
}  // namespace quillon
