#include "device/ImageDataProcessor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillon {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct RecordingHost : IImageTransferHost {
    int arrived = 0;
    std::vector<std::string> refusals;
    void ImageArrived() override { ++arrived; }
    void ImageRefused(const char* message) override { refusals.emplace_back(message); }
};

std::uint8_t Pattern(unsigned x, unsigned y)
{
    return static_cast<std::uint8_t>(x + 2 * y);
}

Bytes Header(unsigned width, unsigned height, std::uint32_t pixels, std::uint8_t frameClass = 0x61)
{
    return {frameClass,
            static_cast<std::uint8_t>(width >> 8),
            static_cast<std::uint8_t>(width),
            static_cast<std::uint8_t>(height >> 8),
            static_cast<std::uint8_t>(height),
            0xAB,
            0xCD,
            static_cast<std::uint8_t>(pixels >> 24),
            static_cast<std::uint8_t>(pixels >> 16),
            static_cast<std::uint8_t>(pixels >> 8),
            static_cast<std::uint8_t>(pixels)};
}

// padding: bytes the device sends after the picture, counted in P.
Bytes Frame(unsigned width, unsigned height, std::uint32_t padding = 0)
{
    Bytes frame = Header(width, height, width * height + padding);
    for (unsigned y = 0; y < height; ++y)
        for (unsigned x = 0; x < width; ++x)
            frame.push_back(Pattern(x, y));
    frame.resize(frame.size() + padding, 0xEE);
    return frame;
}

struct Fixture {
    DeviceImage image;
    RecordingHost host;
    ImageDataProcessor processor{image, host};
    void Feed(const Bytes& bytes) { processor.Feed(bytes.data(), bytes.size()); }
};

void ExpectPattern(const DeviceImage& image, unsigned width, unsigned height)
{
    ASSERT_EQ(image.width, static_cast<int>(width));
    ASSERT_EQ(image.height, static_cast<int>(height));
    ASSERT_EQ(image.pixels.size(), std::size_t{width} * height);
    // Stored bottom row first.
    for (unsigned row = 0; row < height; ++row)
        for (unsigned x = 0; x < width; ++x)
            ASSERT_EQ(image.pixels[row * width + x], Pattern(x, height - 1 - row)) << row << "," << x;
}

TEST(ImageDataProcessor, CompletesExactlyWhenHeaderAndPixelsAreIn)
{
    for (const std::uint32_t padding : {0u, 7u}) {
        // P beyond width x height: the picture comes first, the transfer ends after P.
        const Bytes frame = Frame(6, 5, padding);
        for (std::size_t cut = 0; cut <= frame.size(); ++cut) {
            Fixture f;
            f.Feed(Bytes(frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(cut)));
            EXPECT_EQ(f.host.arrived, cut == frame.size() ? 1 : 0) << padding << " " << cut;
            f.Feed(Bytes(frame.begin() + static_cast<std::ptrdiff_t>(cut), frame.end()));
            ASSERT_EQ(f.host.arrived, 1) << cut;
            ExpectPattern(f.image, 6, 5);
            EXPECT_EQ(f.image.byteCount, frame.size());
            EXPECT_LE(f.processor.Held(), 11u + 30u);
        }
    }
    const Bytes frame = Frame(6, 5);
    // Every way of cutting the frame in two, and byte by byte.
    for (std::size_t cut = 0; cut <= frame.size(); ++cut) {
        Fixture f;
        f.Feed(Bytes(frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(cut)));
        EXPECT_EQ(f.host.arrived, cut == frame.size() ? 1 : 0) << cut;
        f.Feed(Bytes(frame.begin() + static_cast<std::ptrdiff_t>(cut), frame.end()));
        ASSERT_EQ(f.host.arrived, 1) << cut;
        ExpectPattern(f.image, 6, 5);
        EXPECT_EQ(f.image.byteCount, frame.size());
    }
    Fixture f;
    for (std::size_t i = 0; i < frame.size(); ++i) {
        const TransferProgress before = f.processor.Progress();
        EXPECT_FALSE(before.finished);
        EXPECT_EQ(before.received, i > 11 ? i - 11 : 0);
        EXPECT_EQ(before.expected, i >= 11 ? 30u : 0u);
        f.Feed({frame[i]});
    }
    EXPECT_EQ(f.host.arrived, 1);
    EXPECT_TRUE(f.processor.Progress().finished);
    EXPECT_EQ(f.processor.Progress().received, 30u);
    ExpectPattern(f.image, 6, 5);
}

TEST(ImageDataProcessor, RefusesBadHeadersAndKeepsTheOldImage)
{
    struct Case {
        const char* name;
        Bytes header;
        const char* message;
    };
    const Case cases[] = {
        {"wrong class", Header(4, 4, 16, 0x44), kImageFormatErrorText},
        {"zero width", Header(0, 4, 0), kImageFormatErrorText},
        {"zero height", Header(4, 0, 0), kImageFormatErrorText},
        {"P short of width x height", Header(4, 4, 15), kImageFormatErrorText},
        {"1024 x 1024 passes the area", Header(1024, 1024, 1024 * 1024), kImageTooLargeText},
        {"65535 x 65535", Header(65535, 65535, 0xFFFE0001u), kImageTooLargeText},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.Feed(Frame(2, 2));
        ASSERT_EQ(f.host.arrived, 1);
        f.processor.Reset();
        Bytes flood = c.header;
        flood.resize(flood.size() + 200000, 0x77);  // the device goes on sending
        f.Feed(flood);
        f.Feed(Bytes(5000, 0x61));
        EXPECT_EQ(f.host.refusals, std::vector<std::string>{c.message}) << c.name;
        EXPECT_EQ(f.host.arrived, 1) << c.name;
        EXPECT_TRUE(f.processor.Progress().finished) << c.name;
        EXPECT_EQ(f.processor.Held(), 0u) << c.name;
        ExpectPattern(f.image, 2, 2);
    }
}

TEST(ImageDataProcessor, LargestImageFitsAndNothingPastItIsKept)
{
    // 1024 x 1023 + 11 header bytes: within 1 MiB.
    Fixture f;
    Bytes frame = Frame(1024, 1023);
    ASSERT_LE(frame.size(), ImageDataProcessor::kAreaSize);
    frame.resize(frame.size() + 300000, 0x55);  // pixels for ever
    for (std::size_t at = 0; at < frame.size(); at += 10230)
        f.processor.Feed(frame.data() + at, std::min<std::size_t>(10230, frame.size() - at));
    EXPECT_EQ(f.host.arrived, 1);
    EXPECT_TRUE(f.host.refusals.empty());
    EXPECT_EQ(f.processor.Held(), 0u);
    ExpectPattern(f.image, 1024, 1023);
    EXPECT_EQ(f.image.byteCount, 11u + 1024 * 1023);

    // Padding past the area is counted, never kept.
    Fixture padded;
    const Bytes large = Frame(4, 4, 2'000'000);
    for (std::size_t at = 0; at < large.size(); at += 10230)
        padded.processor.Feed(large.data() + at, std::min<std::size_t>(10230, large.size() - at));
    EXPECT_EQ(padded.host.arrived, 1);
    ExpectPattern(padded.image, 4, 4);
}

TEST(ImageDataProcessor, ResetStartsOverAfterATruncatedTransfer)
{
    Fixture f;
    const Bytes frame = Frame(8, 8);
    f.Feed(Bytes(frame.begin(), frame.begin() + 40));  // the device stopped half way
    EXPECT_EQ(f.processor.Progress().received, 29u);
    f.processor.Reset();
    EXPECT_EQ(f.processor.Progress().expected, 0u);
    f.Feed(frame);
    EXPECT_EQ(f.host.arrived, 1);
    ExpectPattern(f.image, 8, 8);
    // A second image after the first needs a Reset (the route was reset).
    f.processor.Reset();
    f.Feed(Frame(4, 2));
    EXPECT_EQ(f.host.arrived, 2);
    ExpectPattern(f.image, 4, 2);
}

}  // namespace
}  // namespace quillon
