#include "device/KlsBmpFile.h"
#include "device/SaveFileName.h"
#include "support/ProgramRun.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace quillon {
namespace {

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
unsigned Le16(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | b[at + 1] << 8;
}

std::vector<std::uint8_t> Ramp(std::size_t count)
{
    std::vector<std::uint8_t> pixels(count);
    for (std::size_t i = 0; i < count; ++i)
        pixels[i] = static_cast<std::uint8_t>(i * 7 + 1);
    return pixels;
}

struct SizeCase {
    int width;
    int height;
    std::size_t stride;
};

class BmpLayout : public ::testing::TestWithParam<SizeCase> {};

TEST_P(BmpLayout, HeadersPaletteAndPaddedRowsAreByteExact)
{
    const SizeCase c = GetParam();
    const auto pixels = Ramp(static_cast<std::size_t>(c.width * c.height));
    CKlsBmpFile bmp;
    ASSERT_TRUE(bmp.Build(pixels.data(), pixels.size(), c.width, c.height));
    const auto& f = bmp.FileBytes();
    const std::size_t imageSize = c.stride * static_cast<std::size_t>(c.height);
    ASSERT_EQ(f.size(), 1078 + imageSize);
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], 'M');
    EXPECT_EQ(Le32(f, 2), 1078 + imageSize);
    EXPECT_EQ(Le32(f, 6), 0u);  // both reserved words
    EXPECT_EQ(Le32(f, 10), 1078u);
    EXPECT_EQ(Le32(f, 14), 40u);
    EXPECT_EQ(Le32(f, 18), static_cast<std::uint32_t>(c.width));
    EXPECT_EQ(Le32(f, 22), static_cast<std::uint32_t>(c.height));
    EXPECT_EQ(Le16(f, 26), 1u);
    EXPECT_EQ(Le16(f, 28), 8u);
    EXPECT_EQ(Le32(f, 30), 0u);
    EXPECT_EQ(Le32(f, 34), imageSize);
    for (std::size_t at = 38; at < 54; at += 4)
        EXPECT_EQ(Le32(f, at), 0u) << "offset " << at;
    for (unsigned i = 0; i < 256; ++i) {
        const std::size_t e = 54 + 4 * i;
        ASSERT_EQ(f[e], i);
        ASSERT_EQ(f[e + 1], i);
        ASSERT_EQ(f[e + 2], i);
        ASSERT_EQ(f[e + 3], 0);
    }
    for (int row = 0; row < c.height; ++row) {
        for (std::size_t x = 0; x < c.stride; ++x) {
            const std::uint8_t expected =
                x < static_cast<std::size_t>(c.width) ? pixels[static_cast<std::size_t>(row * c.width) + x] : 0;
            ASSERT_EQ(f[1078 + static_cast<std::size_t>(row) * c.stride + x], expected) << row << "," << x;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Strides, BmpLayout,
                         ::testing::Values(SizeCase{6, 3, 8}, SizeCase{4, 2, 4}, SizeCase{1, 1, 4}, SizeCase{7, 5, 8},
                                           SizeCase{640, 480, 640}, SizeCase{113, 2, 116}));

TEST(BmpFile, RefusesWhatCannotBeAnImage)
{
    const auto pixels = Ramp(12);
    struct Case {
        int width;
        int height;
        std::size_t count;
    };
    for (const Case c : {Case{0, 3, 12}, Case{3, 0, 12}, Case{-4, 3, 12}, Case{4, 4, 12}, Case{13, 1, 12}}) {
        CKlsBmpFile bmp;
        ASSERT_TRUE(bmp.Build(pixels.data(), pixels.size(), 2, 2));
        EXPECT_FALSE(bmp.Build(pixels.data(), c.count, c.width, c.height)) << c.width << "x" << c.height;
        EXPECT_FALSE(bmp.HoldsImage());
    }
}

TEST(BmpFile, SavedFileIsWhatWasBuiltAndReadsAsABitmap)
{
    test::TempDir dir;
    const auto pixels = Ramp(6 * 4);
    CKlsBmpFile bmp;
    ASSERT_TRUE(bmp.Build(pixels.data(), pixels.size(), 6, 4));
    const std::string path = (dir.Path() / "grey.bmp").string();
    ASSERT_EQ(bmp.Save(path), 1);
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> saved{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(saved, bmp.FileBytes());
    EXPECT_EQ(saved.size(), 1078u + 8 * 4);

    // `file` may be missing on a bare machine; the bytes were checked above.
    const test::ProgramRun described = test::RunProgram("file -b " + test::Quote(path));
    if (described.exitCode == 0) {
        EXPECT_NE(described.out.find("6 x 4 x 8"), std::string::npos) << described.out;
    }
}

TEST(BmpFile, SaveReportsAFileThatCannotBeCreated)
{
    test::TempDir dir;
    const auto pixels = Ramp(4);
    CKlsBmpFile bmp;
    ASSERT_TRUE(bmp.Build(pixels.data(), pixels.size(), 2, 2));
    EXPECT_EQ(bmp.Save((dir.Path() / "missing" / "a.bmp").string()), 0);
    EXPECT_EQ(bmp.Save(dir.Path().string()), 0);  // a folder
    EXPECT_EQ(bmp.Save("/dev/full"), 0);          // created, but nothing fits
}

TEST(SaveFileName, ExtensionIsAddedUnlessThePathHoldsIt)
{
    struct Case {
        const char* path;
        const char* extension;
        const char* expected;
    };
    for (const Case c :
         {Case{"/tmp/out", ".txt", "/tmp/out.txt"}, Case{"/tmp/out.txt", ".txt", "/tmp/out.txt"},
          Case{"/tmp/a.txt.old", ".txt", "/tmp/a.txt.old"}, Case{"/tmp/pic", ".bmp", "/tmp/pic.bmp"},
          Case{"/tmp/pic.BMP", ".bmp", "/tmp/pic.BMP.bmp"}, Case{"/tmp/pic.bmp", ".bmp", "/tmp/pic.bmp"}})
        EXPECT_EQ(WithExtension(c.path, c.extension), c.expected);
}

}  // namespace
}  // namespace quillon
