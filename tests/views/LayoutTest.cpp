#include "document/QuillonDoc.h"
#include "support/RecordingPainter.h"
#include "views/DecodedLayout.h"

#include "views/DocumentLayout.h"
#include "views/DocumentPrinter.h"
#include "views/PaneContent.h"
#include "views/ViewOptions.h"
#include <algorithm>

#include <gtest/gtest.h>

namespace quillon {
namespace {

using test::RecordingPainter;
using XY = std::pair<int, int>;

XY At(const RecordingPainter::TextCall* call)
{
    return call ? XY{call->x, call->y} : XY{-1, -1};
}

CQuillonDoc DocumentWith(int entries)
{
    CQuillonDoc doc;
    for (int i = 0; i < entries; ++i)
        doc.AddEntry("<AW>3186000" + std::to_string(i % 10), "caption " + std::to_string(i));
    return doc;
}

TEST(DocumentLayoutTest, HeaderTitleAndRule)
{
    for (const bool paper : {false, true}) {
        RecordingPainter painter;
        DocumentLayout(CQuillonDoc{}, false).Header(painter, paper ? 600 : 620, paper);
        ASSERT_EQ(painter.texts.size(), 1u);
        EXPECT_EQ(At(painter.FindText("扫描枪条码配置文档")), XY(paper ? 480 : 496, 30)) << paper;
        EXPECT_EQ(painter.texts[0].colour, kBlack);
        ASSERT_EQ(painter.lines.size(), 1u);
        const auto& line = painter.lines[0];
        EXPECT_EQ((std::vector<int>{line.x1, line.y1, line.x2, line.y2}),
                  (std::vector<int>{10, 50, paper ? 600 : 610, 50}));
    }
}

// Colours are left to the scans of the window, the PDF and the pane image
// in both schemes: bars are black on white, or white inside a black field.
TEST(DocumentLayoutTest, ListPlacesEveryEntryEightyUnitsLower)
{
    CQuillonDoc doc = DocumentWith(3);
    RecordingPainter painter;
    EXPECT_EQ(DocumentLayout(doc, false).List(painter, 620), doc.entries.back().codeY + 155);
    ASSERT_EQ(painter.cells.size(), 3u);
    ASSERT_EQ(painter.rects.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        const CodeInfo& entry = doc.entries[static_cast<std::size_t>(k)];
        const auto* caption = painter.FindText(entry.caption);
        const auto* code = painter.FindText(entry.codeText);
        ASSERT_TRUE(caption && code);
        EXPECT_EQ(At(caption), XY(60, 65 + 80 * k));
        EXPECT_EQ(caption->colour, kBlack);
        EXPECT_EQ(At(code), XY(110, 125 + 80 * k));
        EXPECT_EQ(code->colour, kBlue);
        const auto& bars = painter.cells[static_cast<std::size_t>(k)];
        EXPECT_EQ((std::vector<int>{bars.x, bars.y, bars.cellWidth, bars.cellHeight, bars.rows}),
                  (std::vector<int>{60, 85 + 80 * k, 1, 36, 1}));
        EXPECT_EQ(bars.cells, entry.modules);
        const auto& back = painter.rects[static_cast<std::size_t>(k)];
        EXPECT_EQ((std::vector<int>{back.left, back.top, back.right, back.bottom}),
                  (std::vector<int>{45, 81 + 80 * k, 75 + entry.moduleCount, 125 + 80 * k}));
    }

    doc.entries[0].symbolVisible = 0;
    RecordingPainter hidden;
    DocumentLayout(doc, false).Symbol(hidden, doc.entries[0], 60, 85);
    EXPECT_TRUE(hidden.rects.empty() && hidden.cells.empty());

    CQuillonDoc tooLong;
    tooLong.AddEntry(std::string(70, 'A'), "long");
    RecordingPainter noBars;
    DocumentLayout(tooLong, true).List(noBars, 620);
    EXPECT_TRUE(noBars.cells.empty());
    EXPECT_EQ(At(noBars.FindText(kTooLongNote)), XY(60, 85 + 10)) << "the empty bar area says why";
    EXPECT_NE(noBars.FindText(std::string(70, 'A')), nullptr);
}

TEST(DocumentLayoutTest, ConvertedLayoutOnScreen)
{
    CQuillonDoc doc = DocumentWith(5);
    doc.ConversionCommand(true);
    RecordingPainter painter;
    // Twelve-character strings of 84 units: three fit a line of 620 and the
    // fourth always starts a new one.
    const int bottom = DocumentLayout(doc, false).Converted(painter, 620);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(At(painter.FindText("caption " + std::to_string(i))), XY(60, 80 + 20 * i));
    const int T = 80 + 20 * 5;
    ASSERT_EQ(painter.cells.size(), 1u);
    const auto& symbol = painter.cells[0];
    EXPECT_EQ((std::vector<int>{symbol.x, symbol.y, symbol.columns, symbol.rows}),
              (std::vector<int>{60, T, doc.convWidth, doc.convHeight}));
    const int y0 = T + doc.convHeight + 15;
    const XY codes[] = {{60, 0}, {144, 0}, {228, 0}, {60, 20}, {144, 20}};
    for (std::size_t i = 0; i < 5; ++i) {
        const auto& call = painter.texts[1 + 5 + i];
        EXPECT_EQ(call.text, doc.convCodes[i]);
        EXPECT_EQ(call.colour, kBlue);
        EXPECT_EQ(At(&call), XY(codes[i].first, y0 + codes[i].second)) << i;
    }
    EXPECT_EQ(bottom, y0 + 40);

    // Without a symbol the operator reads why, and the strings move up.
    doc.convPixels.clear();
    RecordingPainter noSymbol;
    DocumentLayout(doc, false).Converted(noSymbol, 620);
    EXPECT_TRUE(noSymbol.cells.empty());
    EXPECT_EQ(At(noSymbol.FindText(kConversionTooLargeNote)), XY(60, T));
    EXPECT_EQ(At(noSymbol.FindText(doc.convCodes[0])), XY(60, T + 20 + 15));
}

TEST(ConvertedPagesTest, CommandStringsWrapAtTheWidthAndOnScreenAfterEveryThird)
{
    // Strings of 10, 10, 10, 10 and 30 characters at 7 units a character.
    const std::vector<std::string> codes = {"AAAAAAAAAA", "BBBBBBBBBB", "CCCCCCCCCC", "DDDDDDDDDD",
                                            std::string(30, 'E')};
    struct {
        int right;
        bool everyThird;
        std::vector<std::pair<std::size_t, std::size_t>> lines;
    } const cases[] = {
        {1000, false, {{0, 5}}},
        {1000, true, {{0, 3}, {3, 5}}},
        // 60 + 4 x 70 = 340 leaves no room for the fifth's 210 before 500.
        {500, false, {{0, 4}, {4, 5}}},
        {201, false, {{0, 2}, {2, 4}, {4, 5}}},  // 60 + 70 + 70 stays short of 201
        {100, false, {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.right << " " << c.everyThird);
        std::vector<std::pair<std::size_t, std::size_t>> lines;
        for (const CodeLine& line : FlowCodeLines(codes, 7, c.right, c.everyThird))
            lines.emplace_back(line.first, line.end);
        EXPECT_EQ(lines, c.lines);
    }
    EXPECT_TRUE(FlowCodeLines({}, 7, 600, false).empty());
}

// A converted document of captions and 12-character strings with a symbol
// of the given height (0: none could be made).
CQuillonDoc ConvertedWith(int captions, int symbolHeight)
{
    CQuillonDoc doc;
    doc.displayMode = CQuillonDoc::kShowConversion;
    for (int i = 0; i < captions; ++i) {
        doc.convCaptions.push_back("caption " + std::to_string(i));
        doc.convCodes.push_back("<AW>3186000" + std::to_string(i % 10));
    }
    if (symbolHeight > 0) {
        doc.convWidth = 100;
        doc.convHeight = symbolHeight;
        doc.convPixels.assign(static_cast<std::size_t>(100 * symbolHeight), 1);
    }
    return doc;
}

// A page target that records every page separately.
class RecordingPages : public IPageTarget {
public:
    IPainter& Painter() override { return pages.back(); }
    bool NewPage() override
    {
        if (failAfter > 0 && static_cast<int>(pages.size()) >= failAfter)
            return false;
        pages.emplace_back();
        return true;
    }
    std::vector<RecordingPainter> pages{1};
    int failAfter = 0;
};

constexpr UnitMapping kPage876{600, 876, 1.0, 1.0};

TEST(ConvertedPagesTest, CaptionsFlowOverThePagesAndTheSymbolKeepsAPlaceOfItsOwn)
{
    // Pages of 876 units: lines from 65 while they end 15 units above P, so
    // 39 captions fill a page; the symbol's block is 20 + height + 20.
    struct Case {
        const char* label;
        int captions, symbolHeight;
        std::vector<int> captionsPerPage;
        int symbolPage, symbolTop;  // the symbol's own top
        int firstCodesPage, firstCodesTop;
    } const cases[] = {
        {"all on one page", 3, 100, {3}, 0, 145, 0, 265},
        {"captions over two pages", 45, 300, {39, 6}, 1, 205, 1, 525},
        {"symbol too tall for what is left", 10, 700, {10, 0}, 1, 85, 1, 805},
        {"taller than a page: a page of its own", 2, 900, {2, 0, 0}, 1, 85, 2, 65},
        {"no symbol: its note", 3, 0, {3}, 0, 145, 0, 185},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const CQuillonDoc doc = ConvertedWith(c.captions, c.symbolHeight);
        RecordingPages target;
        ASSERT_EQ(DocumentPrinter(doc, ViewOptionValues{}, kPage876).PrintDocument(target),
                  static_cast<int>(c.captionsPerPage.size()));
        int caption = 0;
        for (std::size_t n = 0; n < target.pages.size(); ++n) {
            SCOPED_TRACE(n);
            const RecordingPainter& page = target.pages[n];
            EXPECT_NE(page.FindText("扫描枪条码配置文档"), nullptr);
            const std::string footer =
                "第 " + std::to_string(n + 1) + " 页 / 共 " + std::to_string(target.pages.size()) + " 页";
            EXPECT_EQ(At(page.FindText(footer)), XY(300, 871));
            for (int k = 0; k < c.captionsPerPage[n]; ++k, ++caption)
                EXPECT_EQ(At(page.FindText("caption " + std::to_string(caption))), XY(60, 65 + 20 * k));
            const bool symbolHere = static_cast<int>(n) == c.symbolPage;
            if (c.symbolHeight == 0) {
                EXPECT_EQ(At(page.FindText(kConversionTooLargeNote)), symbolHere ? XY(60, c.symbolTop) : XY(-1, -1));
                continue;
            }
            ASSERT_EQ(page.cells.size(), symbolHere ? 1u : 0u);
            if (!symbolHere)
                continue;
            EXPECT_EQ(page.cells[0].y, c.symbolTop);
            // Nothing is written within 15 units of a symbol that fits a page.
            for (const auto& text : c.symbolTop + c.symbolHeight <= 861 ? page.texts : decltype(page.texts){})
                EXPECT_TRUE(text.y + 16 <= c.symbolTop - 15 || text.y >= c.symbolTop + c.symbolHeight + 15)
                    << text.text << " at " << text.y;
        }
        EXPECT_EQ(caption, c.captions);
        EXPECT_EQ(At(target.pages[static_cast<std::size_t>(c.firstCodesPage)].FindText(doc.convCodes[0])),
                  XY(60, c.firstCodesTop));
    }
}

TEST(DocumentLayoutTest, DecodedOutputIsCutToThePaneWidth)
{
    const std::vector<RsTransDataStr> lines = {{std::string(25, 'a')}, {"short"}, {"中文输出"}};
    RecordingPainter painter;
    // 90 / 9 = 10 characters a piece.
    EXPECT_EQ(DecodedLayout(lines).Draw(painter, 90), 40 + 17 * 6);
    ASSERT_EQ(painter.texts.size(), 6u);
    EXPECT_EQ(painter.texts[0].text, "扫描设备输出数据显示：");
    EXPECT_EQ(At(&painter.texts[0]), XY(10, 10));
    EXPECT_EQ(painter.texts[0].font, FontRole::Heading);
    const std::string pieces[] = {std::string(10, 'a'), std::string(10, 'a'), "aaaaa", "short", "中文输出"};
    for (std::size_t i = 0; i < 5; ++i) {
        const auto& call = painter.texts[i + 1];
        EXPECT_EQ(call.text, pieces[i]);
        EXPECT_EQ(At(&call), XY(30, 40 + 17 * static_cast<int>(i)));
        EXPECT_EQ(call.font, FontRole::Body);
        EXPECT_EQ(call.colour, kBlack);
    }
}

// A long capture draws only the lines in sight, at the places and with the
// pane height it would have drawn them with all lines.
TEST(DocumentLayoutTest, DecodedOutputDrawsOnlyTheRowsInSight)
{
    class WindowPainter : public RecordingPainter {
    public:
        bool RowsVisible(int top, int bottom) const override { return bottom >= 1000 && top <= 1100; }
    };
    std::vector<RsTransDataStr> lines;
    for (int i = 0; i < 10000; ++i)
        lines.push_back({i == 57 ? std::string(25, 'x') + "\xF0\x9F\x98\x80" : "line" + std::to_string(i)});
    WindowPainter window;
    RecordingPainter all;
    EXPECT_EQ(DecodedLayout(lines).Draw(window, 90), DecodedLayout(lines).Draw(all, 90));
    std::vector<RecordingPainter::TextCall> expected;
    for (const auto& call : all.texts)
        if (call.y + 17 >= 1000 && call.y <= 1100)
            expected.push_back(call);
    ASSERT_GE(window.texts.size(), expected.size());
    EXPECT_LE(window.texts.size(), expected.size() + 3);  // the heading, partly shown lines
    for (const auto& call : expected)
        EXPECT_TRUE(std::any_of(
            window.texts.begin(), window.texts.end(),
            [&](const auto& drawn) { return drawn.text == call.text && drawn.x == call.x && drawn.y == call.y; }))
            << call.text << " at " << call.y;
}

TEST(PaneContentTest, TheLayoutFollowsTheViewAndTheCheckBoxes)
{
    CQuillonDoc doc = DocumentWith(1);
    doc.ConvertDocument(true);
    doc.decodedLines = {{"decoded"}};
    struct {
        ViewMode viewMode;
        bool generate, decoded;
        int displayMode;
        const char* expectedText;
        PaneBottom::Rule rule;
    } const cases[] = {
        // Bars shown, as a list or converted: the pane images that
        // SheetRoundTripTest scans.
        {ViewMode::Configuration, false, true, 1, nullptr, PaneBottom::None},
        {ViewMode::Monitor, true, true, 1, "decoded", PaneBottom::GrowOnly},
        {ViewMode::Monitor, true, false, 1, nullptr, PaneBottom::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.viewMode) << c.generate << c.decoded << c.displayMode);
        ViewOptionValues options;
        options.viewMode = c.viewMode;
        options.generateBarcodes = c.generate;
        options.decodedOutput = c.decoded;
        doc.displayMode = c.displayMode;
        RecordingPainter painter;
        EXPECT_EQ(DrawPane(painter, doc, options, 620).rule, c.rule);
        if (c.expectedText != nullptr) {
            EXPECT_NE(painter.FindText(c.expectedText), nullptr);
        } else
            EXPECT_TRUE(painter.texts.empty());
    }
}

TEST(PaneContentTest, TotalHeightGrowsScrollsAndFallsBackToThreeHundred)
{
    struct {
        int total;
        PaneBottom content;
        int expectedTotal;
        bool scroll;
    } const cases[] = {
        // Fit growing with a scroll to the bottom, and falling back to 300:
        // RightViewTest, through the real window's scroll bar.
        {950, {PaneBottom::Fit, 470}, 470, false},
        {950, {PaneBottom::GrowOnly, 470}, 950, false},
        {300, {PaneBottom::GrowOnly, 470}, 470, true},
        {640, {PaneBottom::None, 0}, 640, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.total << " " << c.content.rule << " " << c.content.bottom);
        const HeightChange change = FollowContent(c.total, c.content);
        EXPECT_EQ(change.totalHeight, c.expectedTotal);
        EXPECT_EQ(change.scrollToBottom, c.scroll);
    }
}

TEST(DocumentPrinterTest, NineEntriesFitAPageOf876Units)
{
    struct {
        int entries, totalHeight;
        std::vector<int> perPage;
    } const cases[] = {
        {9, 0, {9}},
        {10, 0, {9, 1}},
        {19, 0, {9, 9, 1}},  // the pane's height alone would give two pages
        {2, 2000, {2}},      // a tall pane adds no empty pages
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entries);
        CQuillonDoc doc = DocumentWith(c.entries);
        doc.upperGeometry.totalHeight =
            c.totalHeight > 0 ? c.totalHeight : std::max(300, doc.entries.back().codeY + 155);
        RecordingPages target;
        ASSERT_EQ(DocumentPrinter(doc, ViewOptionValues{}, kPage876).PrintDocument(target),
                  static_cast<int>(c.perPage.size()));
        ASSERT_EQ(target.pages.size(), c.perPage.size());
        int first = 0;
        for (std::size_t n = 0; n < target.pages.size(); ++n) {
            SCOPED_TRACE(n);
            const RecordingPainter& page = target.pages[n];
            ASSERT_EQ(static_cast<int>(page.cells.size()), c.perPage[n]);
            EXPECT_EQ(At(page.FindText("扫描枪条码配置文档")), XY(480, 30));
            const std::string footer =
                "第 " + std::to_string(n + 1) + " 页 / 共 " + std::to_string(c.perPage.size()) + " 页";
            EXPECT_EQ(At(page.FindText(footer)), XY(300, 871));
            // Entries restart at the top of every page.
            for (int k = 0; k < c.perPage[n]; ++k) {
                EXPECT_EQ(At(page.FindText("caption " + std::to_string(first + k))), XY(60, 65 + 80 * k));
                EXPECT_EQ(page.cells[static_cast<std::size_t>(k)].y, 85 + 80 * k);
            }
            first += c.perPage[n];
        }
    }
    RecordingPages failing;
    failing.failAfter = 2;
    EXPECT_EQ(DocumentPrinter(DocumentWith(30), ViewOptionValues{}, kPage876).PrintDocument(failing), 2)
        << "a failed page end stops printing";
}

TEST(DocumentPrinterTest, StandardPrintShowsThePaneAtThePaperWidthWithoutFooter)
{
    CQuillonDoc doc = DocumentWith(3);
    doc.ConversionCommand(true);
    doc.upperGeometry.totalHeight = 1000;
    RecordingPages standard;
    ASSERT_EQ(DocumentPrinter(doc, ViewOptionValues{}, kPage876).PrintPaneLayout(standard), 2);
    for (const auto& page : standard.pages) {
        EXPECT_EQ(At(page.FindText("caption 0")), XY(60, 80)) << "the screen layout, from its top";
        EXPECT_EQ(At(page.FindText("扫描枪条码配置文档")), XY(480, 30));
        for (const auto& text : page.texts)
            EXPECT_EQ(text.text.find("页 / 共"), std::string::npos);
    }
}

TEST(UnitMappingTest, ThePrintableAreaInUnitsLessTheFooterLine)
{
    struct {
        int pageW, pageH, dpi, W, P;
        double scale;
    } const cases[] = {
        {4961, 7016, 600, 793, 1102, 6.25},  // A4
        {9921, 14031, 1200, 793, 1102, 12.5},
        {5100, 6600, 600, 816, 1036, 6.25},  // Letter
        {300, 400, 96, 300, 380, 1.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pageW);
        const UnitMapping m = MapUnits(c.pageW, c.pageH, c.dpi, c.dpi);
        EXPECT_EQ(m.W, c.W);
        EXPECT_EQ(m.P, c.P);
        EXPECT_DOUBLE_EQ(m.scaleX, c.scale);
        EXPECT_DOUBLE_EQ(m.scaleY, c.scale);
    }
}

}  // namespace
}  // namespace quillon
