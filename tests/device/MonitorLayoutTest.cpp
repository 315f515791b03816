#include "views/MonitorLayout.h"
#include "base/ShownText.h"
#include "support/RecordingPainter.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

RsComStr Line(int index, const char* hex, int direction)
{
    return RsComStr{5, 17 * (index + 1), hex, direction};
}

struct LineCase {
    const char* hex;
    int direction;
    const char* text;
};

TEST(MonitorLayout, LineTexts)
{
    const LineCase cases[] = {
        {"55aa01", 1, " 发送->  长度:3  数据:0x55 0xaa 0x01 "},
        {"33764200", 2, " 返回->  长度:4  数据:0x33 0x76 0x42 0x00 "},
        {"", 2, " 返回->  长度:0  数据:"},
        {"  2130 ", 1, " 发送->  长度:2  数据:0x21 0x30 "},
        {"21304", 1, " 发送->  长度:2  数据:0x21 0x30 0x4 "},
        {"2130", 3, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MonitorLineText(RsComStr{5, 17, c.hex, c.direction}), c.text) << c.hex;

    // In another language the words around the bytes are its own.
    TextTranslations english;
    english.Add(" 发送->  长度:%1  数据:", " Sent->  Length:%1  Data:");
    english.Add(kMonitorHeading, "Serial monitor data:");
    SetShownTranslations(&english);
    EXPECT_EQ(MonitorLineText(RsComStr{5, 17, "55aa01", 1}), " Sent->  Length:3  Data:0x55 0xaa 0x01 ");
    test::RecordingPainter painter;
    DrawMonitor(painter, {}, 0, 120);
    SetShownTranslations(nullptr);
    ASSERT_FALSE(painter.texts.empty());
    EXPECT_EQ(painter.texts[0].text, "Serial monitor data:");
}

TEST(MonitorLayout, HeadingColoursAndOnlyTheVisibleLines)
{
    std::vector<RsComStr> lines;
    for (int i = 0; i < 1000; ++i)
        lines.push_back(Line(i, i % 2 ? "33764200" : "21304001", i % 2 ? 2 : 1));
    lines[4].direction = 7;  // not drawn
    test::RecordingPainter painter;
    DrawMonitor(painter, lines, 0, 120);
    ASSERT_FALSE(painter.texts.empty());
    EXPECT_EQ(painter.texts[0].text, kMonitorHeading);
    EXPECT_EQ(painter.texts[0].font, FontRole::Heading);
    EXPECT_EQ(painter.texts[0].x, 5);
    EXPECT_EQ(painter.texts[0].y, 1);
    // Lines at y 17 .. 119, the fifth skipped.
    ASSERT_EQ(painter.texts.size(), 1u + 6u);
    EXPECT_EQ(painter.texts[1].y, 17);
    EXPECT_EQ(painter.texts[1].colour, kBlack);
    EXPECT_EQ(painter.texts[2].colour, kBlue);
    EXPECT_EQ(painter.texts[2].font, FontRole::Body);
    EXPECT_EQ(painter.texts.back().y, 119);

    test::RecordingPainter deep;
    DrawMonitor(deep, lines, 17000 - 30, 17000);
    ASSERT_EQ(deep.texts.size(), 1u + 2u);  // a line reaching in from above counts
    EXPECT_EQ(deep.texts[1].y, 17 * 998);
}

struct GrowthCase {
    int lines;
    int total;
    int grown;
};

TEST(MonitorLayout, TheTotalHeightGrowsBy200WhenALineReachesIt)
{
    const GrowthCase cases[] = {
        {17, 300, 300},                     // the 17th line is at 289
        {18, 300, 500},                     // the 18th at 306: at or below 300
        {29, 300, 500},                     // 493
        {30, 300, 700},                     // 510
        {0, 300, 300},  {100, 1900, 1900},  // 1700 is above it
    };
    for (const auto& c : cases) {
        std::vector<RsComStr> lines;
        for (int i = 0; i < c.lines; ++i)
            lines.push_back(Line(i, "", 1));
        EXPECT_EQ(MonitorTotalHeight(lines, c.total), c.grown) << c.lines;
    }
}

}  // namespace
}  // namespace quillon
