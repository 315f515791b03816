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

CQuillonDoc DocumentWith(int entries)
{
    CQuillonDoc doc;
    for (int i = 0; i < entries; ++i)
        doc.AddEntry("<AW>3186000" + std::to_string(i % 10), "caption " + std::to_string(i));
    return doc;
}

TEST(DocumentLayoutTest, HeaderOnScreenAndOnPaper)
{
    const CQuillonDoc doc;
    const DocumentLayout layout(doc, false);
    struct Case {
        bool paper;
        int width;
        int titleX;
        int lineEnd;
    } cases[] = {{false, 620, 496, 610}, {true, 600, 480, 600}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.paper);
        RecordingPainter painter;
        layout.Header(painter, c.width, c.paper);
        ASSERT_EQ(painter.texts.size(), 1u);
        EXPECT_EQ(painter.texts[0].text, "扫描枪条码配置文档");
        EXPECT_EQ(painter.texts[0].x, c.titleX);
        EXPECT_EQ(painter.texts[0].y, 30);
        EXPECT_EQ(painter.texts[0].colour, kBlack);
        ASSERT_EQ(painter.lines.size(), 1u);
        EXPECT_EQ(painter.lines[0].x1, 10);
        EXPECT_EQ(painter.lines[0].y1, 50);
        EXPECT_EQ(painter.lines[0].x2, c.lineEnd);
        EXPECT_EQ(painter.lines[0].y2, 50);
    }
}

TEST(DocumentLayoutTest, ListPlacesEveryEntryEightyUnitsLower)
{
    const CQuillonDoc doc = DocumentWith(3);
    RecordingPainter painter;
    const int bottom = DocumentLayout(doc, false).List(painter, 620);
    EXPECT_EQ(bottom, doc.entries.back().codeY + 155);
    ASSERT_EQ(painter.cells.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        const auto* caption = painter.FindText("caption " + std::to_string(k));
        ASSERT_NE(caption, nullptr);
        EXPECT_EQ(caption->x, 60);
        EXPECT_EQ(caption->y, 65 + 80 * k);
        EXPECT_EQ(caption->colour, kBlack);
        const auto* code = painter.FindText(doc.entries[static_cast<std::size_t>(k)].codeText);
        ASSERT_NE(code, nullptr);
        EXPECT_EQ(code->x, 110);
        EXPECT_EQ(code->y, 125 + 80 * k);
        EXPECT_EQ(code->colour, kBlue);
        const auto& bars = painter.cells[static_cast<std::size_t>(k)];
        EXPECT_EQ(bars.x, 60);
        EXPECT_EQ(bars.y, 85 + 80 * k);
        EXPECT_EQ(bars.cellWidth, 1);
        EXPECT_EQ(bars.cellHeight, 36);
        EXPECT_EQ(bars.rows, 1);
        EXPECT_EQ(bars.cells, doc.entries[static_cast<std::size_t>(k)].modules);
    }
}

TEST(DocumentLayoutTest, SymbolBackgroundAndColoursFollowInversion)
{
    const CQuillonDoc doc = DocumentWith(1);
    const CodeInfo& entry = doc.entries[0];
    struct Case {
        bool inverted;
        Rgb back;
        Rgb bars;
    } cases[] = {{false, kWhite, kBlack}, {true, kBlack, kWhite}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.inverted);
        RecordingPainter painter;
        DocumentLayout(doc, c.inverted).Symbol(painter, entry, 60, 85);
        ASSERT_EQ(painter.rects.size(), 1u);
        EXPECT_EQ(painter.rects[0].left, 45);
        EXPECT_EQ(painter.rects[0].top, 81);
        EXPECT_EQ(painter.rects[0].right, 75 + entry.moduleCount);
        EXPECT_EQ(painter.rects[0].bottom, 125);
        EXPECT_EQ(painter.rects[0].colour, c.back);
        ASSERT_EQ(painter.cells.size(), 1u);
        EXPECT_EQ(painter.cells[0].colour, c.bars);
    }
}

TEST(DocumentLayoutTest, HiddenSymbolAndRefusedSymbol)
{
    CQuillonDoc doc = DocumentWith(1);
    doc.entries[0].symbolVisible = 0;
    RecordingPainter hidden;
    DocumentLayout(doc, false).Symbol(hidden, doc.entries[0], 60, 85);
    EXPECT_TRUE(hidden.rects.empty());
    EXPECT_TRUE(hidden.cells.empty());

    CQuillonDoc tooLong;
    tooLong.AddEntry(std::string(70, 'A'), "long");
    RecordingPainter painter;
    DocumentLayout(tooLong, true).List(painter, 620);
    EXPECT_TRUE(painter.cells.empty());
    const auto* note = painter.FindText(kTooLongNote);
    ASSERT_NE(note, nullptr) << "the empty bar area says why";
    EXPECT_EQ(note->y, 85 + 10);
    EXPECT_NE(painter.FindText(std::string(70, 'A')), nullptr);
}

TEST(DocumentLayoutTest, ConvertedLayoutOnScreen)
{
    CQuillonDoc doc = DocumentWith(5);
    doc.ConversionCommand(true);
    for (const bool inverted : {false, true}) {
        SCOPED_TRACE(inverted);
        RecordingPainter painter;
        painter.averageCharWidth = 7;
        const int bottom = DocumentLayout(doc, inverted).Converted(painter, 620);
        for (int i = 0; i < 5; ++i) {
            const auto* caption = painter.FindText("caption " + std::to_string(i));
            ASSERT_NE(caption, nullptr);
            EXPECT_EQ(caption->x, 60);
            EXPECT_EQ(caption->y, 80 + 20 * i);
        }
        const int T = 80 + 20 * 5;
        ASSERT_EQ(painter.cells.size(), 1u);
        EXPECT_EQ(painter.cells[0].x, 60);
        EXPECT_EQ(painter.cells[0].y, T);
        EXPECT_EQ(painter.cells[0].columns, doc.convWidth);
        EXPECT_EQ(painter.cells[0].rows, doc.convHeight);
        EXPECT_EQ(painter.cells[0].colour, inverted ? kWhite : kBlack);
        if (inverted) {
            ASSERT_EQ(painter.rects.size(), 1u);
            EXPECT_EQ(painter.rects[0].left, 45);
            EXPECT_EQ(painter.rects[0].top, T - 6);
            EXPECT_EQ(painter.rects[0].right, doc.convWidth + 75);
            EXPECT_EQ(painter.rects[0].bottom, T + doc.convHeight + 7);
            EXPECT_EQ(painter.rects[0].colour, kBlack);
        } else {
            EXPECT_TRUE(painter.rects.empty());
        }
        // Twelve-character strings, 84 units each: three fit a line of 620,
        // and the fourth always starts a new one.
        const int y0 = T + doc.convHeight + 15;
        const int expected[][2] = {{60, y0}, {144, y0}, {228, y0}, {60, y0 + 20}, {144, y0 + 20}};
        for (int i = 0; i < 5; ++i) {
            SCOPED_TRACE(i);
            const auto& call = painter.texts[static_cast<std::size_t>(1 + 5 + i)];
            EXPECT_EQ(call.text, doc.convCodes[static_cast<std::size_t>(i)]);
            EXPECT_EQ(call.colour, kBlue);
            EXPECT_EQ(call.x, expected[i][0]);
            EXPECT_EQ(call.y, expected[i][1]);
        }
        EXPECT_EQ(bottom, y0 + 40);
    }
}

TEST(DocumentLayoutTest, ConvertedPageStartsHigherAndWrapsOnlyAtTheWidth)
{
    CQuillonDoc doc = DocumentWith(5);
    doc.ConversionCommand(false);
    RecordingPainter painter;
    DocumentLayout(doc, false).ConvertedPage(painter, 600, 300);
    EXPECT_EQ(painter.FindText("caption 0")->y, 65);
    const int T = 65 + 20 * 5;
    EXPECT_EQ(painter.cells[0].y, T);
    const int y0 = T + doc.convHeight + 15;
    // 84 units a string; a client width of 300 holds three (60 + 3 x 84 = 312
    // reaches it, so the third wraps).
    const int expected[][2] = {{60, y0}, {144, y0}, {60, y0 + 20}, {144, y0 + 20}, {60, y0 + 40}};
    for (int i = 0; i < 5; ++i) {
        const auto& call = painter.texts[static_cast<std::size_t>(1 + 5 + i)];
        EXPECT_EQ(call.x, expected[i][0]) << i;
        EXPECT_EQ(call.y, expected[i][1]) << i;
    }
}

TEST(DocumentLayoutTest, DecodedOutputIsCutToThePaneWidth)
{
    const std::vector<RsTransDataStr> lines = {{std::string(25, 'a')}, {"short"}, {"中文输出"}};
    RecordingPainter painter;
    // 90 / 9 = 10 characters a piece.
    const int bottom = DecodedLayout(lines).Draw(painter, 90);
    ASSERT_EQ(painter.texts.size(), 1u + 3 + 1 + 1);
    EXPECT_EQ(painter.texts[0].text, "扫描设备输出数据显示：");
    EXPECT_EQ(painter.texts[0].x, 10);
    EXPECT_EQ(painter.texts[0].y, 10);
    EXPECT_EQ(painter.texts[0].font, FontRole::Heading);
    const std::pair<std::string, int> pieces[] = {
        {std::string(10, 'a'), 40}, {std::string(10, 'a'), 57}, {"aaaaa", 74}, {"short", 91}, {"中文输出", 108}};
    for (std::size_t i = 0; i < 5; ++i) {
        const auto& call = painter.texts[i + 1];
        EXPECT_EQ(call.text, pieces[i].first);
        EXPECT_EQ(call.x, 30);
        EXPECT_EQ(call.y, pieces[i].second);
        EXPECT_EQ(call.font, FontRole::Body);
        EXPECT_EQ(call.colour, kBlack);
    }
    EXPECT_EQ(bottom, 40 + 17 * 6);
}

TEST(PaneContentTest, TheLayoutFollowsTheViewAndTheCheckBoxes)
{
    CQuillonDoc doc = DocumentWith(1);
    doc.ConvertDocument(true);
    doc.decodedLines = {{"decoded"}};
    struct Case {
        const char* label;
        int viewMode;
        bool generate;
        bool decoded;
        int displayMode;
        const char* expectedText;
        PaneBottom::Rule rule;
    } cases[] = {
        {"list", 0, true, false, 1, "caption 0", PaneBottom::Fit},
        {"converted", 0, true, false, 2, "caption 0", PaneBottom::Fit},
        {"configuration without barcodes", 0, false, true, 1, nullptr, PaneBottom::None},
        {"decoded output", 1, true, true, 1, "decoded", PaneBottom::GrowOnly},
        {"monitor without decoded output", 1, true, false, 1, nullptr, PaneBottom::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
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
    struct Case {
        const char* label;
        int total;
        PaneBottom content;
        int expectedTotal;
        bool scroll;
    } cases[] = {
        {"taller content", 300, {PaneBottom::Fit, 950}, 950, true},
        {"shorter content", 950, {PaneBottom::Fit, 230}, 300, false},
        {"between", 950, {PaneBottom::Fit, 470}, 470, false},
        {"decoded output only grows", 950, {PaneBottom::GrowOnly, 470}, 950, false},
        {"decoded output grows", 300, {PaneBottom::GrowOnly, 470}, 470, true},
        {"nothing drawn", 640, {PaneBottom::None, 0}, 640, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const HeightChange change = FollowContent(c.total, c.content);
        EXPECT_EQ(change.totalHeight, c.expectedTotal);
        EXPECT_EQ(change.scrollToBottom, c.scroll);
    }
}

// A page target that records every page separately.
class RecordingPages : public IPageTarget {
public:
    RecordingPages() { pages.emplace_back(); }
    IPainter& Painter() override { return pages.back(); }
    bool NewPage() override
    {
        if (failAfter > 0 && static_cast<int>(pages.size()) >= failAfter)
            return false;
        pages.emplace_back();
        return true;
    }
    std::vector<RecordingPainter> pages;
    int failAfter = 0;
};

int EntriesOn(const RecordingPainter& page)
{
    return static_cast<int>(page.cells.size());
}

TEST(DocumentPrinterTest, NineEntriesFitAPageOf876Units)
{
    struct Case {
        int entries;
        std::vector<int> perPage;
    } cases[] = {
        {1, {1}},
        {9, {9}},
        {10, {9, 1}},
        {18, {9, 9}},
        {19, {9, 9, 1}},  // the pane's height alone would give two pages
    };
    const ViewOptionValues options;
    UnitMapping mapping;
    mapping.W = 600;
    mapping.P = 876;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entries);
        CQuillonDoc doc = DocumentWith(c.entries);
        doc.upperGeometry.totalHeight = std::max(300, doc.entries.back().codeY + 155);
        RecordingPages target;
        const DocumentPrinter printer(doc, options, mapping, 620);
        const int count = printer.PrintDocument(target);
        ASSERT_EQ(count, static_cast<int>(c.perPage.size()));
        ASSERT_EQ(target.pages.size(), c.perPage.size());
        int first = 0;
        for (std::size_t n = 0; n < target.pages.size(); ++n) {
            SCOPED_TRACE(n);
            const RecordingPainter& page = target.pages[n];
            EXPECT_EQ(EntriesOn(page), c.perPage[n]);
            EXPECT_NE(page.FindText("扫描枪条码配置文档"), nullptr);
            const std::string footer =
                "第 " + std::to_string(n + 1) + " 页 / 共 " + std::to_string(c.perPage.size()) + " 页";
            const auto* text = page.FindText(footer);
            ASSERT_NE(text, nullptr);
            EXPECT_EQ(text->x, 300);
            EXPECT_EQ(text->y, 871);
            // Entries restart at the top of every page.
            for (int k = 0; k < c.perPage[n]; ++k) {
                const auto* caption = page.FindText("caption " + std::to_string(first + k));
                ASSERT_NE(caption, nullptr);
                EXPECT_EQ(caption->y, 65 + 80 * k);
                EXPECT_EQ(page.cells[static_cast<std::size_t>(k)].y, 85 + 80 * k);
            }
            first += c.perPage[n];
        }
    }
}

TEST(DocumentPrinterTest, PagesAfterTheLastEntryCarryHeaderAndFooter)
{
    CQuillonDoc doc = DocumentWith(2);
    doc.upperGeometry.totalHeight = 2000;
    UnitMapping mapping;
    mapping.W = 600;
    mapping.P = 876;
    RecordingPages target;
    EXPECT_EQ(DocumentPrinter(doc, ViewOptionValues{}, mapping, 620).PrintDocument(target), 3);
    EXPECT_EQ(EntriesOn(target.pages[1]), 0);
    EXPECT_NE(target.pages[2].FindText("第 3 页 / 共 3 页"), nullptr);
}

TEST(DocumentPrinterTest, AFailedPageEndStopsPrinting)
{
    CQuillonDoc doc = DocumentWith(30);
    UnitMapping mapping;
    mapping.W = 600;
    mapping.P = 876;
    RecordingPages target;
    target.failAfter = 2;
    EXPECT_EQ(DocumentPrinter(doc, ViewOptionValues{}, mapping, 620).PrintDocument(target), 2);
}

TEST(DocumentPrinterTest, ConvertedDocumentOnEveryPageAndStandardPrintWithoutFooter)
{
    CQuillonDoc doc = DocumentWith(3);
    doc.ConversionCommand(true);
    doc.upperGeometry.totalHeight = 1000;
    UnitMapping mapping;
    mapping.W = 600;
    mapping.P = 876;
    const ViewOptionValues options;
    const DocumentPrinter printer(doc, options, mapping, 620);
    RecordingPages withFooters;
    ASSERT_EQ(printer.PrintDocument(withFooters), 2);
    for (const auto& page : withFooters.pages) {
        ASSERT_NE(page.FindText("caption 0"), nullptr);
        EXPECT_EQ(page.FindText("caption 0")->y, 65);
        EXPECT_EQ(page.cells.size(), 1u);
    }
    EXPECT_NE(withFooters.pages[1].FindText("第 2 页 / 共 2 页"), nullptr);

    RecordingPages standard;
    ASSERT_EQ(printer.PrintPaneLayout(standard), 2);
    for (const auto& page : standard.pages) {
        ASSERT_NE(page.FindText("caption 0"), nullptr);
        EXPECT_EQ(page.FindText("caption 0")->y, 80) << "the screen layout, from its top";
        for (const auto& text : page.texts)
            EXPECT_EQ(text.text.find("页 / 共"), std::string::npos);
    }
}

TEST(UnitMappingTest, PageHeightInUnitsAndScale)
{
    struct Case {
        const char* label;
        int total, pageW, pageH, dpi, P;
        double scale;
    } cases[] = {
        {"A4 at 600 dpi", 600, 4961, 7016, 600, 877, 6.25},
        {"A4 at 300 dpi", 600, 2480, 3508, 300, 877, 3.125},
        {"Letter at 600 dpi", 600, 5100, 6600, 600, 825, 6.25},
        {"a page narrower than W", 600, 300, 400, 96, 400, 1.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const UnitMapping m = MapUnits(c.total, c.pageW, c.pageH, c.dpi, c.dpi);
        EXPECT_EQ(m.W, c.total);
        EXPECT_EQ(m.P, c.P);
        EXPECT_DOUBLE_EQ(m.scaleX, c.scale);
        EXPECT_NEAR(m.scaleY, c.scale, 0.01);
    }
}

}  // namespace
}  // namespace quillon
