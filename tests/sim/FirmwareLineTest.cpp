// The firmware loader fed as the download dialog feeds it: a real Intel HEX
// file made by objcopy, sent record by record, and raw images in blocks.
#include "sim/SimProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace quillon::test {
namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The sender reads the file as text (CR LF becomes LF), converts each
// line's hex pairs and sends (length - 2) / 2 bytes: the line without its
// colon and line end, which costs a last line without a line end its
// checksum byte.
std::vector<Bytes> RecordsAsSent(std::string text)
{
    std::erase(text, '\r');
    std::vector<Bytes> records;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        Bytes record = HexBytes(line.substr(1));
        record.resize((line.size() + (in.eof() ? 0 : 1) - 2) / 2);
        records.push_back(record);
    }
    return records;
}

// Intel HEX as some other tools write it: extended linear address records
// only, 16 data bytes a line, CR LF line ends.
std::string LinearHex(std::uint32_t address, const std::string& data)
{
    std::string text;
    const auto addRecord = [&text](std::uint16_t offset, std::uint8_t type, const std::string& bytes) {
        const std::string head{char(bytes.size()), char(offset >> 8), char(offset), char(type)};
        std::uint8_t sum = 0;
        for (const char c : head + bytes)
            sum = std::uint8_t(sum + std::uint8_t(c));
        const std::string record = head + bytes + char(-sum);
        text += ":" + HexText(Bytes(record.begin(), record.end())) + "\r\n";
    };
    for (std::size_t at = 0; at < data.size();) {
        const std::uint32_t here = address + std::uint32_t(at);
        if (at == 0 || (here & 0xFFFF) == 0)
            addRecord(0, 4, {char(here >> 24), char(here >> 16)});
        const std::size_t size = std::min<std::size_t>({16, data.size() - at, 0x10000 - (here & 0xFFFF)});
        addRecord(std::uint16_t(here), 0, data.substr(at, size));
        at += size;
    }
    addRecord(0, 1, {});
    return text;
}

enum class HexSource {
    Objcopy,
    // A file whose first record, 02000004000FEB, is byte for byte the
    // loader's erase request, and whose data crosses into the next 64 KiB.
    BaseRecordLikeErase,
};

struct HexRun {
    HexSource source;
    bool handshake;
    bool erase;
    bool lastLineEnd;
};

class FirmwareLineTest : public ::testing::TestWithParam<HexRun> {};

TEST_P(FirmwareLineTest, HexFileArrivesWhole)
{
    const HexRun run = GetParam();
    TempDir dir;
    const std::string saved = (dir.Path() / "received.bin").string();
    SimProcess sim({"--firmware-out", saved});
    sim.Send(HexBytes("21304000"));  // a setting that an erase puts back
    ASSERT_EQ(HexText(sim.Read(4)), "33764200");

    const std::string image = ReadFile(QUILLON_SIM_FIRMWARE_BIN);
    std::string hex = run.source == HexSource::Objcopy ? ReadFile(QUILLON_SIM_FIRMWARE_HEX) : LinearHex(0x000FFF00, image);
    ASSERT_EQ(hex.starts_with(":02000004000FEB"), run.source == HexSource::BaseRecordLikeErase);
    ASSERT_EQ(hex.substr(hex.size() - 2), "\r\n");
    if (!run.lastLineEnd)
        hex.resize(hex.size() - 2);
    if (run.handshake) {
        sim.Send(HexBytes("327703"));
        ASSERT_EQ(HexText(sim.Read(5)), "3377030000");
    }
    if (run.erase) {
        sim.Send(HexBytes("02000004000FEB"));
        ASSERT_EQ(sim.Read(1).size(), 1u);
    }
    const auto records = RecordsAsSent(hex);
    ASSERT_GT(records.size(), 10u);
    for (std::size_t k = 0; k < records.size(); ++k) {
        sim.Send(records[k]);
        const Bytes answer = sim.Read(1);
        ASSERT_EQ(answer.size(), 1u) << "record " << k;
        if (k + 1 < records.size())
            ASSERT_NE(std::string("1234567A").find(static_cast<char>(answer[0])), std::string::npos) << "record " << k;
        else
            EXPECT_EQ(answer[0], '8');
    }
    EXPECT_EQ(ReadFile(saved), image);
    // Back from the loader: the device answers requests again.  A first
    // record equal to the erase request erases: the device cannot tell them apart.
    const bool erased = run.erase || run.source == HexSource::BaseRecordLikeErase;
    sim.Send(HexBytes("233040"));
    EXPECT_EQ(HexText(sim.Read(4)), erased ? "24304001" : "24304000");
}

INSTANTIATE_TEST_SUITE_P(Runs, FirmwareLineTest,
                         ::testing::Values(HexRun{HexSource::Objcopy, true, false, true},
                                           HexRun{HexSource::Objcopy, true, false, false},
                                           HexRun{HexSource::Objcopy, true, true, true},
                                           HexRun{HexSource::Objcopy, false, true, true},
                                           HexRun{HexSource::Objcopy, false, false, false},
                                           HexRun{HexSource::BaseRecordLikeErase, true, false, true},
                                           HexRun{HexSource::BaseRecordLikeErase, true, true, true},
                                           HexRun{HexSource::BaseRecordLikeErase, false, false, true}),
                         [](const auto& info) {
                             return std::string(info.param.source == HexSource::Objcopy ? "Objcopy" : "BaseLikeErase") +
                                    (info.param.handshake ? "Handshake" : "Repair") +
                                    (info.param.erase ? "Erase" : "") +
                                    (info.param.lastLineEnd ? "LastLineEnded" : "LastLineOpen");
                         });

TEST(FirmwareLineTest, BadChecksumStopsTheLoad)
{
    SimProcess sim;
    sim.Send(HexBytes("327703"));
    ASSERT_EQ(HexText(sim.Read(5)), "3377030000");
    sim.Send(HexBytes("020000040800F2"));
    EXPECT_EQ(HexText(sim.Read(1)), "34");
    sim.Send(HexBytes("00000001FE"));  // checksum off by one
    EXPECT_EQ(HexText(sim.Read(1)), "39");
    sim.Send(HexBytes("231040"));
    EXPECT_EQ(HexText(sim.Read(4)), "24104001");
}

// An image beginning with `head`, with setting frames inside that must
// never reach the device's command handling.
Bytes RawImage(const std::string& head, std::size_t size)
{
    Bytes image(size);
    for (std::size_t i = 0; i < size; ++i)
        image[i] = static_cast<std::uint8_t>((i * 7 + i / 251) & 0xFF);
    const Bytes start = HexBytes(head);
    std::copy(start.begin(), start.end(), image.begin());
    const Bytes frames = HexBytes("21304002" "233040" "327703");
    std::copy(frames.begin(), frames.end(), image.begin() + 6000);
    return image;
}

struct RawRun {
    const char* name;
    std::string head;
    bool erase;
    bool fail;
};

class RawImageLineTest : public ::testing::TestWithParam<RawRun> {};

TEST_P(RawImageLineTest, RawImageIsStoredWholeAndNothingOfItIsObeyed)
{
    const RawRun run = GetParam();
    TempDir dir;
    const std::string saved = (dir.Path() / "image.bin").string();
    std::vector<std::string> args{"--firmware-out", saved};
    if (run.fail)
        args.insert(args.end(), {"--fault", "firmware-fail"});
    SimProcess sim(args);
    sim.Send(HexBytes("21304000"));
    ASSERT_EQ(HexText(sim.Read(4)), "33764200");

    // What the tool sends of an image file, its headers already cut off.
    const Bytes image = RawImage(run.head, 3 * 4096 + 1234);

    if (run.erase) {
        sim.Send(HexBytes("327702"));
        ASSERT_EQ(HexText(sim.Read(5)), "3377020000");
    }
    sim.Send(HexBytes("327703"));
    ASSERT_EQ(HexText(sim.Read(5)), "3377030000");
    for (std::size_t at = 0; at < image.size(); at += 4096)
        sim.Send(Bytes(image.begin() + static_cast<std::ptrdiff_t>(at),
                       image.begin() + static_cast<std::ptrdiff_t>(std::min(image.size(), at + 4096))));
    EXPECT_EQ(HexText(sim.Read(1)), run.fail ? "35" : "38");
    EXPECT_EQ(ReadFile(saved), std::string(image.begin(), image.end()));
    // The answer to this read is the next thing on the line: no part of the
    // image was answered or applied as a request.
    sim.Send(HexBytes("233040"));
    EXPECT_EQ(HexText(sim.Read(4)), run.erase ? "24304001" : "24304000");
}

INSTANTIATE_TEST_SUITE_P(Runs, RawImageLineTest,
                         ::testing::Values(RawRun{"Plain", "FF", false, false}, RawRun{"Erase", "FF", true, false},
                                           RawRun{"Refused", "FF", false, true},
                                           RawRun{"ZeroBytes", "0000000000000000000000", false, false},
                                           RawRun{"LikeEndRecord", "00000001FF", false, false},
                                           RawRun{"LikeEraseRecord", "02000004000FEB", false, false},
                                           RawRun{"LikeEraseRecordErase", "02000004000FEB", true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quillon::test
