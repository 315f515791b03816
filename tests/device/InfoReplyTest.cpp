#include "base/Utf.h"
#include "device/InfoReplyProcessor.h"
#include "document/DeviceInfo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace quillon {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes InfoFrame(std::uint8_t code, const Bytes& data)
{
    Bytes frame{0x44, 0x02, code, static_cast<std::uint8_t>(data.size() >> 8), static_cast<std::uint8_t>(data.size())};
    frame.insert(frame.end(), data.begin(), data.end());
    return frame;
}

Bytes Text(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

std::vector<Bytes> EightReplies()
{
    std::vector<Bytes> frames;
    for (std::uint8_t code = 0xC1; code <= 0xC8; ++code)
        frames.push_back(code == 0xC3 ? InfoFrame(code, {0x02, 0x80, 0x01, 0xE0})
                                      : InfoFrame(code, Text("F" + std::to_string(code - 0xC0))));
    return frames;
}

TEST(DeviceInfo, ParsesFieldsAsTheDeviceWroteThem)
{
    DeviceInfo info;
    Bytes all(256);
    for (int i = 0; i < 256; ++i)
        all[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    const Bytes c2 = InfoFrame(0xC2, all);
    EXPECT_EQ(info.ParseInfoReply(c2.data(), c2.size()), 0x02u);
    // Every byte became the character with its code.
    std::u16string codes;
    for (char16_t c = 0; c < 256; ++c)
        codes += c;
    const std::string expected = Utf16ToUtf8(codes);
    EXPECT_EQ(info.Text(0xC2), expected);
    EXPECT_EQ(info.Text(0xC2).substr(128 + 2 * (0xE9 - 0x80), 2), "é");

    const Bytes c3 = InfoFrame(0xC3, {0x02, 0x80, 0x01, 0xE0});
    EXPECT_EQ(info.ParseInfoReply(c3.data(), c3.size()), 0x06u);
    EXPECT_EQ(info.width, 640);
    EXPECT_EQ(info.height, 480);
    EXPECT_EQ(info.Text(0xC3), "设备图像分辨率为：640pix × 480pix ");

    struct Case {
        const char* name;
        Bytes frame;
        std::uint32_t kinds;
        std::string c5;
    };
    const Case cases[] = {
        {"N = 0 sets the bit, adds nothing", InfoFrame(0xC5, {}), 0x10, ""},
        {"a repeated field appends twice", InfoFrame(0xC5, Text("AB")), 0x10, "ABAB"},
        {"another class", Bytes{0x24, 0x02, 0xC5, 0x00, 0x01, 0x41}, 0x00, ""},
        {"another group", Bytes{0x44, 0x03, 0xC5, 0x00, 0x01, 0x41}, 0x00, ""},
        {"an unknown code", Bytes{0x44, 0x02, 0xC9, 0x00, 0x01, 0x41}, 0x00, ""},
    };
    for (const Case& c : cases) {
        DeviceInfo fresh;
        fresh.ParseInfoReply(c.frame.data(), c.frame.size());
        const std::uint32_t kinds = fresh.ParseInfoReply(c.frame.data(), c.frame.size());
        EXPECT_EQ(kinds, c.kinds) << c.name;
        EXPECT_EQ(fresh.Text(0xC5), c.c5) << c.name;
    }
    // A short resolution frame reads the missing bytes as 0.
    DeviceInfo shortFrame;
    const Bytes c3Short = InfoFrame(0xC3, {0x01});
    shortFrame.ParseInfoReply(c3Short.data(), c3Short.size());
    EXPECT_EQ(shortFrame.width, 256);
    EXPECT_EQ(shortFrame.height, 0);
    shortFrame.Clear();
    EXPECT_EQ(shortFrame.infoKinds, 0u);
    EXPECT_EQ(shortFrame.Text(0xC3), "");
}

TEST(DeviceInfo, VersionFieldsInTheDialogsOrder)
{
    DeviceInfo info;
    for (const Bytes& frame : EightReplies())
        info.ParseInfoReply(frame.data(), frame.size());
    std::vector<std::string> lines;
    for (const VersionField& field : VersionFields(info))
        lines.push_back(std::string(field.label) + field.text);
    EXPECT_EQ(lines,
              (std::vector<std::string>{"软件版本：F2", "F1", "设备图像分辨率为：640pix × 480pix ", "硬件版本：F4",
                                        "设备类型：F7", "设备规格：F8", "生产日期：F6", "设备序列号：F5"}));
}

struct InfoFixture {
    DeviceInfo info;
    int reached = 0;
    std::vector<std::uint32_t> kindsWhenReached;
    InfoReplyProcessor processor;
    explicit InfoFixture(std::uint32_t target)
        : processor(info, target, [this] {
              ++reached;
              kindsWhenReached.push_back(info.infoKinds);
          })
    {
    }
    void Feed(const Bytes& bytes) { processor.Feed(bytes.data(), bytes.size()); }
};

TEST(InfoReplyProcessor, VersionIsReachedOnceAfterTheLastOfEight)
{
    std::mt19937 random(11);
    for (int trial = 0; trial < 20; ++trial) {
        std::vector<Bytes> frames = EightReplies();
        std::shuffle(frames.begin(), frames.end(), random);
        Bytes stream{0x00, 0x24, 0x99};  // stale bytes of another class are skipped
        for (const Bytes& frame : frames)
            stream.insert(stream.end(), frame.begin(), frame.end());
        // One burst, byte by byte, and cut at random places.
        for (int split : {0, 1, 2}) {
            InfoFixture f(DeviceInfo::kAllKinds);
            if (split == 0) {
                f.Feed(stream);
            } else if (split == 1) {
                for (const std::uint8_t b : stream)
                    f.Feed({b});
            } else {
                std::size_t at = 0;
                while (at < stream.size()) {
                    const std::size_t n = std::min<std::size_t>(stream.size() - at, 1 + random() % 9);
                    f.Feed(Bytes(stream.begin() + static_cast<std::ptrdiff_t>(at),
                                 stream.begin() + static_cast<std::ptrdiff_t>(at + n)));
                    at += n;
                }
            }
            ASSERT_EQ(f.reached, 1) << trial << "/" << split;
            EXPECT_EQ(f.info.Text(0xC7), "F7");
            // A late duplicate does not show the dialog again.
            f.Feed(frames.front());
            EXPECT_EQ(f.reached, 1);
        }
    }
}

TEST(InfoReplyProcessor, ResolutionAloneStartsTheImageSize)
{
    InfoFixture f(DeviceInfo::kResolutionKind);
    const Bytes c3 = InfoFrame(0xC3, {0x02, 0x80, 0x01, 0xE0});
    f.Feed(Bytes(c3.begin(), c3.end() - 1));
    EXPECT_EQ(f.reached, 0);
    f.Feed({c3.back()});
    EXPECT_EQ(f.reached, 1);
    EXPECT_EQ(f.info.width, 640);
    EXPECT_EQ(f.info.height, 480);

    InfoFixture other(DeviceInfo::kResolutionKind);
    other.Feed(InfoFrame(0xC2, Text("V1")));
    other.Feed(InfoFrame(0xC3, {0x02, 0x80, 0x01, 0xE0}));
    EXPECT_EQ(other.reached, 0);  // more than the resolution: not this request's answer
}

TEST(InfoReplyProcessor, LongestFieldAndReentryFromTheCallback)
{
    // N = 65535: waits for all its bytes, then appends them.
    InfoFixture f(0x10);
    const Bytes big = InfoFrame(0xC5, Bytes(65535, 'x'));
    f.Feed(Bytes(big.begin(), big.end() - 1));
    EXPECT_EQ(f.reached, 0);
    f.Feed({big.back()});
    EXPECT_EQ(f.reached, 1);
    EXPECT_EQ(f.info.Text(0xC5).size(), 65535u);

    // The callback runs a dialog whose event loop feeds more input.
    DeviceInfo info;
    int calls = 0;
    InfoReplyProcessor* self = nullptr;
    InfoReplyProcessor nested(info, 0x01, [&] {
        ++calls;
        const Bytes more = InfoFrame(0xC2, Text("Z"));
        self->Feed(more.data(), more.size());
    });
    self = &nested;
    Bytes stream = InfoFrame(0xC1, Text("A"));
    const Bytes tail = InfoFrame(0xC4, Text("B"));
    stream.insert(stream.end(), tail.begin(), tail.end());
    nested.Feed(stream.data(), stream.size());
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(info.infoKinds, 0x0Bu);
    EXPECT_EQ(info.Text(0xC2), "Z");
    EXPECT_EQ(info.Text(0xC4), "B");
}

}  // namespace
}  // namespace quillon
