// The firmware loader fed by hand where a download could not show it: a
// record with a bad checksum, and raw images whose bytes look like requests.
// Whole HEX downloads against the loader are in the tools tests.
#include "sim/SimProcess.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quillon::test {
namespace {

// A first record the loader accepts, then a refused one; the loader's "9"
// ends the load and the device answers setting requests again.
TEST(FirmwareLineTest, ARefusedRecordStopsTheLoad)
{
    const struct {
        const char* name;
        const char* accepted;
        const char* acceptedAnswer;
        const char* refused;
    } cases[] = {
        {"checksum off by one", "020000040800F2", "34", "00000001FE"},
        {"end-of-file record without its checksum", "0400000001ABCDEF94", "31", "00000001"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimProcess sim;
        sim.Send(HexBytes("327703"));
        ASSERT_EQ(HexText(sim.Read(5)), "3377030000");
        sim.Send(HexBytes(c.accepted));
        EXPECT_EQ(HexText(sim.Read(1)), c.acceptedAnswer);
        sim.Send(HexBytes(c.refused));
        EXPECT_EQ(HexText(sim.Read(1)), "39");
        sim.Send(HexBytes("231040"));
        EXPECT_EQ(HexText(sim.Read(4)), "24104001");
    }
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
    const Bytes frames = HexBytes("21304002"
                                  "233040"
                                  "327703");
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
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace quillon::test
