// The firmware loader fed as the download dialog feeds it: a real Intel HEX
// file made by objcopy, sent record by record, and raw images in blocks.
#include "sim/SimProcess.h"

#include <gtest/gtest.h>

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

struct HexRun {
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

    std::string hex = ReadFile(QUILLON_SIM_FIRMWARE_HEX);
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
    EXPECT_EQ(ReadFile(saved), ReadFile(QUILLON_SIM_FIRMWARE_BIN));
    // Back from the loader: the device answers requests again.
    sim.Send(HexBytes("233040"));
    EXPECT_EQ(HexText(sim.Read(4)), run.erase ? "24304001" : "24304000");
}

INSTANTIATE_TEST_SUITE_P(Runs, FirmwareLineTest,
                         ::testing::Values(HexRun{true, false, true}, HexRun{true, false, false}, HexRun{true, true, true},
                                           HexRun{false, true, true}, HexRun{false, false, false}),
                         [](const auto& info) {
                             return std::string(info.param.handshake ? "Handshake" : "Repair") +
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

Bytes RawPayload(std::size_t size)
{
    Bytes payload(size);
    for (std::size_t i = 0; i < size; ++i)
        payload[i] = static_cast<std::uint8_t>((i * 7 + i / 251) & 0xFF);
    payload[0] = 0xFF;  // no valid HEX record can start here
    return payload;
}

struct RawRun {
    bool erase;
    bool fail;
};

class RawImageLineTest : public ::testing::TestWithParam<RawRun> {};

TEST_P(RawImageLineTest, RawImageArrivesWithoutItsHeaders)
{
    const RawRun run = GetParam();
    TempDir dir;
    const std::string saved = (dir.Path() / "image.bin").string();
    std::vector<std::string> args{"--firmware-out", saved};
    if (run.fail)
        args.insert(args.end(), {"--fault", "firmware-fail"});
    SimProcess sim(args);

    // The image file starts "v=b=1234s=t=ABv=b=5678"; the tool sends what
    // follows those 22 header bytes, and that is what must be saved.
    const Bytes image = RawPayload(3 * 4096 + 1234);

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
}

INSTANTIATE_TEST_SUITE_P(Runs, RawImageLineTest,
                         ::testing::Values(RawRun{false, false}, RawRun{true, false}, RawRun{false, true}),
                         [](const auto& info) {
                             return std::string(info.param.erase ? "Erase" : "Plain") + (info.param.fail ? "Refused" : "Accepted");
                         });

}  // namespace
}  // namespace quillon::test
