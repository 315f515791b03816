// Reading firmware files: HEX records, file kinds, image headers, the
// progress arithmetic and what is refused before anything is sent.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/TempDir.h"
#include "tools/FirmwareFile.h"
#include "tools/FirmwareFixtures.h"
#include "tools/RawImage.h"

namespace quillon::test {
namespace {

std::string RecordHex(const HexRecords& records, std::size_t index)
{
    std::string text;
    for (const auto b : records.Record(index))
        text += {"0123456789ABCDEF"[b >> 4], "0123456789ABCDEF"[b & 15]};
    return text;
}

TEST(HexRecordsTest, EveryLineEndAndLetterCaseGivesTheSameRecords)
{
    const char* const texts[] = {
        ":020000040800F2\r\n:0400000001ABCDEF94\r\n:00000001FF\r\n",
        ":020000040800F2\n:0400000001ABCDEF94\n:00000001FF",                // last line without its end
        ":020000040800f2\r\n:0400000001abcdef94\r\n:00000001ff\r\n",        // lower case
        "\n:020000040800F2\r\n\r\n:0400000001aBcDeF94\n:00000001FF\r\n\n",  // blank lines
        ":020000040800F2\r\n:0400000001ABCDEF94\r\n:00000001FF\r\n\x1a",    // a DOS end of file after it
        ":020000040800F2\n:0400000001ABCDEF94\n:00000001FF\nsigned: build 7\n:00000001FF\n",  // a trailer
    };
    for (const char* text : texts) {
        const HexParse parse = ParseHexText(text);
        ASSERT_FALSE(parse.problem) << text;
        ASSERT_EQ(parse.records.Count(), 3u) << text;
        EXPECT_EQ(RecordHex(parse.records, 0), "020000040800F2");
        EXPECT_EQ(RecordHex(parse.records, 1), "0400000001ABCDEF94");
        EXPECT_EQ(RecordHex(parse.records, 2), "00000001FF") << "the checksum of an unended last line is sent";
    }
}

TEST(HexRecordsTest, LinesOfAnyLengthAreReadWhole)
{
    // 255 data bytes: a line of 521 characters.
    std::string line = ":FF000000";
    unsigned sum = 0xFF;
    for (int i = 0; i < 255; ++i) {
        line += "5A";
        sum += 0x5A;
    }
    char checksum[3];
    std::snprintf(checksum, sizeof checksum, "%02X", (0x100 - (sum & 0xFF)) & 0xFF);
    line += checksum;
    const HexParse parse = ParseHexText(line + "\n:00000001FF\n");
    ASSERT_FALSE(parse.problem);
    ASSERT_EQ(parse.records.Count(), 2u);
    EXPECT_EQ(parse.records.Record(0).size(), 260u);
}

TEST(HexRecordsTest, AMalformedLineIsNamedAndStopsTheParse)
{
    const struct {
        const char* text;
        int line;
        HexFault fault;
    } cases[] = {
        {"020000040800F2\n", 1, HexFault::NoColon},
        {":020000040800F2\n 00000001FF\n", 2, HexFault::NoColon},
        {":020000040800F2\n:0000001FF\n", 2, HexFault::OddDigits},
        {":020000040800F2\n\n:0400000001ABCDEG94\n", 3, HexFault::BadDigit},
        {":0400000001ABCDEF94 \n", 1, HexFault::BadDigit},
        {":\n", 1, HexFault::TooShort},
        {":00000001\n", 1, HexFault::TooShort},
        {":0500000001ABCDEF72\n", 1, HexFault::LengthMismatch},
        {":0400000001ABCDEF\n", 1, HexFault::LengthMismatch},
        {":020000040800F2\n:00000001FE", 2, HexFault::Checksum},
        {":0garbage that only looks like HEX\n", 1, HexFault::BadDigit},
    };
    for (const auto& c : cases) {
        const HexParse parse = ParseHexText(c.text);
        ASSERT_TRUE(parse.problem) << c.text;
        EXPECT_EQ(parse.problem->line, c.line) << c.text;
        EXPECT_EQ(parse.problem->fault, c.fault) << c.text;
    }
}

TEST(FirmwareKindTest, HexByContentOrByName)
{
    const struct {
        const char* name;
        std::string content;
        FirmwareKind kind;
    } cases[] = {
        {"a.ci", ":020000040800F2\r\n", FirmwareKind::Hex},
        {"a.ci", ":0not hex at all", FirmwareKind::Hex},                                // refused later, line 1
        {"a.bin", ":10000000000102030405060708090A0B0C0D0E0F78\n", FirmwareKind::Hex},  // count 0x10
        {"a.bin", ":1 colon and a digit, not a record", FirmwareKind::Raw},
        {"a.HEX",
         std::string("\x7f"
                     "ELF\x02\x01",
                     6),
         FirmwareKind::Hex},  // garbage named .hex
        {"a.ldr", std::string("\0\0\x01\x02", 4), FirmwareKind::Raw},
        {"a.ldr", "v=b=1234s=t=ABv=b=5678", FirmwareKind::Raw},
        {"hex", "", FirmwareKind::Raw},
    };
    for (const auto& c : cases) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(c.content.data());
        EXPECT_EQ(DetectFirmwareKind(c.name, {bytes, c.content.size()}), c.kind) << c.name << " " << c.content;
    }
}

TEST(FirmwareFileTest, WhatIsRefusedBeforeAnythingIsSent)
{
    TempDir dir;
    const auto path = [&](const char* name) { return (dir.Path() / name).string(); };
    WriteFile(path("empty.ci"), "");
    WriteFile(path("headers.ci"), "v=b=1234s=t=ABv=b=5678");
    WriteFile(path("blank.hex"), "\r\n\r\n");
    WriteFile(path("looks.ci"), ":0 but then nothing like a record\n");
    WriteFile(path("garbage.hex"), Payload(3000));
    WriteFile(path("bad-line-3.hex"), ":020000040800F2\r\n:0400000001ABCDEF94\r\n:0400000001ABCDEF95\r\n");
    WriteFile(path("just-over.ci"), Payload(1001));
    ASSERT_EQ(::mkfifo(path("fifo.hex").c_str(), 0600), 0);
    // A sparse 200 MB file: refused from its size, never read.
    const int big = ::open(path("huge.ci").c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
    ASSERT_EQ(::ftruncate(big, 200 << 20), 0);
    ::close(big);

    const struct {
        std::string file;
        std::size_t limit;
        FileFault fault;
        int line;
    } cases[] = {
        {path("missing.ci"), kMaxFirmwareBytes, FileFault::Unreadable, 0},
        {dir.Path().string(), kMaxFirmwareBytes, FileFault::Unreadable, 0},
        {path("empty.ci"), kMaxFirmwareBytes, FileFault::Empty, 0},
        {path("headers.ci"), kMaxFirmwareBytes, FileFault::Empty, 0},
        {path("blank.hex"), kMaxFirmwareBytes, FileFault::Empty, 0},
        {path("looks.ci"), kMaxFirmwareBytes, FileFault::BadHex, 1},
        {path("garbage.hex"), kMaxFirmwareBytes, FileFault::BadHex, 1},
        {path("bad-line-3.hex"), kMaxFirmwareBytes, FileFault::BadHex, 3},
        {path("huge.ci"), kMaxFirmwareBytes, FileFault::TooLarge, 0},
        {path("just-over.ci"), 1000, FileFault::TooLarge, 0},
        {"/dev/zero", 1000, FileFault::Unreadable, 0},                    // a device is no firmware file
        {path("fifo.hex"), kMaxFirmwareBytes, FileFault::Unreadable, 0},  // nor a FIFO, which would block
    };
    for (const auto& c : cases) {
        const FirmwareFile file = LoadFirmwareFile(c.file, c.limit);
        EXPECT_EQ(file.fault, c.fault) << c.file;
        if (c.fault == FileFault::BadHex) {
            EXPECT_EQ(file.problem.line, c.line) << c.file;
        }
        EXPECT_TRUE(file.bytes.empty() || c.fault == FileFault::Empty) << c.file;
    }
    EXPECT_EQ(LoadFirmwareFile(path("just-over.ci"), 1001).fault, FileFault::None);
}

TEST(RawImageTest, HeadersAreSkippedOnlyWhenWhole)
{
    const struct {
        std::string image;
        std::size_t skipped;
    } cases[] = {
        {"v=b=1234s=t=ABv=b=5678firmware", 22},
        {"v=b=1234firmware", 8},
        {"s=t=ABv=b=5678firmware", 14},
        {"s=t=ABv=x=5678firmware", 0},    // second header without its inner tag
        {"v=b=1234s=t=ABCDv=b=5678", 8},  // inner tag in the wrong place
        {"firmware v=b=1234", 0},
        {"v=b=", 4},  // cut short: only what is there
        {"s=t=ABv=b=", 10},
        {"", 0},
    };
    for (const auto& c : cases) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(c.image.data());
        EXPECT_EQ(ImageHeaderLength({bytes, c.image.size()}), c.skipped) << c.image;
    }
}

TEST(RawImageTest, ProgressNeverDividesByZeroNorPassesAHundred)
{
    const struct {
        std::size_t fileSize, payload;
        std::size_t blocks, divisor;
        int lastBlockPercent;
    } cases[] = {
        {409600, 409600, 100, 110, 90},  // a tenth of the bar left for the device's answer
        {409622, 409600, 100, 110, 90},  // headers counted in the divisor, not sent
        {4 << 20, 4 << 20, 1024, 1126, 90},
        {100, 100, 1, 1, 100},    // shorter than a block: m + m / 10 would be 0
        {4097, 4097, 2, 2, 100},  // m = 1 would show 200
        {4096 * 12 + 1, 4096 * 12 + 1, 13, 13, 100},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ImageBlockCount(c.payload), c.blocks) << c.fileSize;
        EXPECT_EQ(ImageProgressDivisor(c.fileSize, c.blocks), c.divisor) << c.fileSize;
        EXPECT_EQ(ProgressPercent(c.blocks, c.divisor), c.lastBlockPercent) << c.fileSize;
    }
    EXPECT_EQ(ProgressPercent(0, 0), 100);
    EXPECT_EQ(ProgressPercent(3, 10), 30);
}

}  // namespace
}  // namespace quillon::test
