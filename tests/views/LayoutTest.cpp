#include "document/QuillonDoc.h"
#include "support/RecordingPainter.h"
#include "views/DecodedLayout.h"
#include "views/DocumentLayout.h"
#include "views/DocumentPrinter.h"
#include "views/PaneContent.h"
#include "views/ViewOptions.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

using test::RecordingPainter;
using XY = std::pair<int, int>;

XY At(const RecordingPainter::TextCall* call) { return call ? XY{call->x, call->y} : XY{-1, -1}; }

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

TEST(DocumentLayoutTest, ConvertedLayoutOnScreenAndOnPaper)
{
    CQuillonDoc doc = DocumentWith(5);
    doc.ConversionCommand(true);
    struct {
        bool paper;
        int captionTop, clientWidth;
        std::vector<XY> codes;  // relative to the first string's line
    } const cases[] = {
        // Twelve-character strings of 84 units: three fit a line of 620 and
        // on screen the fourth always starts a new one.
        {false, 80, 620, {{60, 0}, {144, 0}, {228, 0}, {60, 20}, {144, 20}}},
        // Paper wraps only at the pane's width: 60 + 3 x 84 reaches 300.
        {true, 65, 300, {{60, 0}, {144, 0}, {60, 20}, {144, 20}, {60, 40}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.paper);
        RecordingPainter painter;
        const DocumentLayout layout(doc, false);
        int bottom = 0;
        if (c.paper)
            layout.ConvertedPage(painter, 600, c.clientWidth);
        else
            bottom = layout.Converted(painter, c.clientWidth);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(At(painter.FindText("caption " + std::to_string(i))), XY(60, c.captionTop + 20 * i));
        const int T = c.captionTop + 20 * 5;
        ASSERT_EQ(painter.cells.size(), 1u);
        const auto& symbol = painter.cells[0];
        EXPECT_EQ((std::vector<int>{symbol.x, symbol.y, symbol.columns, symbol.rows}),
                  (std::vector<int>{60, T, doc.convWidth, doc.convHeight}));
        const int y0 = T + doc.convHeight + 15;
        for (std::size_t i = 0; i < 5; ++i) {
            const auto& call = painter.texts[1 + 5 + i];
            EXPECT_EQ(call.text, doc.convCodes[i]);
            EXPECT_EQ(call.colour, kBlue);
            EXPECT_EQ(At(&call), XY(c.codes[i].first, y0 + c.codes[i].second)) << i;
        }
        EXPECT_EQ(bottom, c.paper ? 0 : y0 + 40);
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

TEST(PaneContentTest, TheLayoutFollowsTheViewAndTheCheckBoxes)
{
    CQuillonDoc doc = DocumentWith(1);
    doc.ConvertDocument(true);
    doc.decodedLines = {{"decoded"}};
    struct {
        int viewMode;
        bool generate, decoded;
        int displayMode;
        const char* expectedText;
        PaneBottom::Rule rule;
    } const cases[] = {
        // Bars shown, as a list or converted: the pane images that
        // SheetRoundTripTest scans.
        {0, false, true, 1, nullptr, PaneBottom::None},
        {1, true, true, 1, "decoded", PaneBottom::GrowOnly},
        {1, true, false, 1, nullptr, PaneBottom::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.viewMode << c.generate << c.decoded << c.displayMode);
        ViewOptionValues options;
        options.viewMode = c.viewMode;
        options.generateBarcodes = c.generate;
        options.decodedOutput = c.decoded;
        doc.displayMode = c.displayMode;
        RecordingPainter painter;
        EXPECT_EQ(DrawPane(painter, doc, options, 620).rule, c.rule);
        if (c.expectedText != nullptr)
            EXPECT_NE(painter.FindText(c.expectedText), nullptr);
        else
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
        {950, {PaneBottom::Fit, 470}, 470, false},     {950, {PaneBottom::GrowOnly, 470}, 950, false},
        {300, {PaneBottom::GrowOnly, 470}, 470, true}, {640, {PaneBottom::None, 0}, 640, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.total << " " << c.content.rule << " " << c.content.bottom);
        const HeightChange change = FollowContent(c.total, c.content);
        EXPECT_EQ(change.totalHeight, c.expectedTotal);
        EXPECT_EQ(change.scrollToBottom, c.scroll);
    }
}

// A page target that records every page separately.
class RecordingPages : public IPageTarget {
public:
    IPainter& Painter() override { return pages.back(); }
    bool NewPage() override
    {
        if (failAfter > 0 && static_cast<int>(pages.size()) >= failAfter) return false;
        pages.emplace_back();
        return true;
    }
    std::vector<RecordingPainter> pages{1};
    int failAfter = 0;
};

constexpr UnitMapping kPage876{600, 876, 1.0, 1.0};

TEST(DocumentPrinterTest, NineEntriesFitAPageOf876Units)
{
    struct {
        int entries, totalHeight;
        std::vector<int> perPage;
    } const cases[] = {
        {9, 0, {9}}, {10, 0, {9, 1}},
        {19, 0, {9, 9, 1}},  // the pane's height alone would give two pages
        {2, 2000, {2, 0, 0}},  // pages after the last entry: header and footer
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entries);
        CQuillonDoc doc = DocumentWith(c.entries);
        doc.upperGeometry.totalHeight = c.totalHeight > 0 ? c.totalHeight : std::max(300, doc.entries.back().codeY + 155);
        RecordingPages target;
        ASSERT_EQ(DocumentPrinter(doc, ViewOptionValues{}, kPage876, 620).PrintDocument(target),
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
    EXPECT_EQ(DocumentPrinter(DocumentWith(30), ViewOptionValues{}, kPage876, 620).PrintDocument(failing), 2)
        << "a failed page end stops printing";
}

TEST(DocumentPrinterTest, ConvertedDocumentOnEveryPageAndStandardPrintWithoutFooter)
{
    CQuillonDoc doc = DocumentWith(3);
    doc.ConversionCommand(true);
    doc.upperGeometry.totalHeight = 1000;
    const ViewOptionValues options;
    const DocumentPrinter printer(doc, options, kPage876, 620);
    RecordingPages withFooters;
    ASSERT_EQ(printer.PrintDocument(withFooters), 2);
    for (const auto& page : withFooters.pages) {
        EXPECT_EQ(At(page.FindText("caption 0")), XY(60, 65));
        EXPECT_EQ(page.cells.size(), 1u);
    }
    EXPECT_NE(withFooters.pages[1].FindText("第 2 页 / 共 2 页"), nullptr);

    RecordingPages standard;
    ASSERT_EQ(printer.PrintPaneLayout(standard), 2);
    for (const auto& page : standard.pages) {
        EXPECT_EQ(At(page.FindText("caption 0")), XY(60, 80)) << "the screen layout, from its top";
        for (const auto& text : page.texts)
            EXPECT_EQ(text.text.find("页 / 共"), std::string::npos);
    }
}

TEST(UnitMappingTest, PageHeightInUnitsAndScale)
{
    struct {
        int total, pageW, pageH, dpi, P;
        double scale;
    } const cases[] = {
        {600, 4961, 7016, 600, 877, 6.25},  // A4
        {600, 300, 400, 96, 400, 1.0},      // a page narrower than W
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pageW);
        const UnitMapping m = MapUnits(c.total, c.pageW, c.pageH, c.dpi, c.dpi);
        EXPECT_EQ(m.W, c.total);
        EXPECT_EQ(m.P, c.P);
        EXPECT_DOUBLE_EQ(m.scaleX, c.scale);
        EXPECT_NEAR(m.scaleY, c.scale, 0.01);
    }
}

}  // namespace
}  // namespace quillon
