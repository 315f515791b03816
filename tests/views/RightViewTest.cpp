#include "document/QuillonDoc.h"
#include "support/BarcodeDecoder.h"
#include "support/RecordingPrompt.h"
#include "views/RightView.h"
#include "views/ViewOptions.h"

#include <QApplication>
#include <QPrinter>
#include <QScrollBar>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace quillon {
namespace {

class RightViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        view.setFrameShape(QFrame::NoFrame);
        view.resize(640, 400);
        view.show();
        QApplication::processEvents();
    }

    void AddEntries(int count)
    {
        for (int i = 0; i < count; ++i)
            doc.AddEntry("<AW>6141" + std::to_string(10 + i), "entry " + std::to_string(i));
    }

    QImage Paint()
    {
        const QImage image = view.viewport()->grab().toImage();
        QApplication::processEvents();
        return image;
    }

    CQuillonDoc doc;
    ViewOptionValues options;
    CRightView view{doc, options};
};

TEST_F(RightViewTest, ResizeResetsTheGeometryFromTheClientSize)
{
    const int w = view.viewport()->width();
    const int h = view.viewport()->height();
    EXPECT_EQ(doc.upperGeometry.totalWidth, w - 20);
    EXPECT_EQ(doc.upperGeometry.totalHeight, h);
    EXPECT_EQ(doc.upperGeometry.lineWidth, w - 20);
    EXPECT_EQ(doc.upperGeometry.lineHeight, h / 10);
    EXPECT_EQ(doc.upperGeometry.pageWidth, w - 20);
    EXPECT_EQ(doc.upperGeometry.pageHeight, h);
    EXPECT_EQ(view.verticalScrollBar()->singleStep(), h / 10);
    EXPECT_EQ(view.verticalScrollBar()->pageStep(), h);
}

TEST_F(RightViewTest, TotalHeightGrowsWithTheListAndScrollsToTheBottom)
{
    AddEntries(10);
    Paint();
    EXPECT_EQ(doc.upperGeometry.totalHeight, doc.entries.back().codeY + 155);
    EXPECT_EQ(view.verticalScrollBar()->maximum(), doc.upperGeometry.totalHeight - view.viewport()->height());
    EXPECT_EQ(view.verticalScrollBar()->value(), view.verticalScrollBar()->maximum());

    // Fewer entries: the range falls back, to no less than 300.
    doc.entries.resize(1);
    Paint();
    EXPECT_EQ(doc.upperGeometry.totalHeight, 300);
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 0);
}

TEST_F(RightViewTest, ClearingResetsTheGeometry)
{
    AddEntries(10);
    Paint();
    test::RecordingPrompt prompt;
    doc.SetPrompt(&prompt);
    ASSERT_TRUE(doc.ClearDocument(CQuillonDoc::kConfigurationView));
    view.ResetGeometry();
    EXPECT_EQ(doc.upperGeometry.totalHeight, view.viewport()->height());
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 0);
}

TEST_F(RightViewTest, LineAndPageRequestsMoveByTheOwnStepAndTheBarStep)
{
    AddEntries(30);
    Paint();
    QScrollBar* bar = view.verticalScrollBar();
    const int line = bar->singleStep();
    const int page = bar->pageStep();
    struct Case {
        const char* label;
        int start;
        QAbstractSlider::SliderAction action;
        int expected;
    } cases[] = {
        {"line down", 0, QAbstractSlider::SliderSingleStepAdd, 10 + line},
        {"line up", 200, QAbstractSlider::SliderSingleStepSub, 200 - 10 - line},
        {"line up at the top", 0, QAbstractSlider::SliderSingleStepSub, 0},
        {"page down", 0, QAbstractSlider::SliderPageStepAdd, 2 * page},
        {"page up", 2 * page + 5, QAbstractSlider::SliderPageStepSub, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        bar->setValue(c.start);
        bar->triggerAction(c.action);
        EXPECT_EQ(bar->value(), c.expected);
    }
}

TEST_F(RightViewTest, WheelNotchSendsALineRequestFirst)
{
    AddEntries(30);
    Paint();
    QScrollBar* bar = view.verticalScrollBar();
    bar->setValue(0);
    const QPointF centre(100, 100);
    QWheelEvent down(centre, view.mapToGlobal(centre.toPoint()), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &down);
    EXPECT_GT(bar->value(), 10 + bar->singleStep()) << "own line request plus the standard wheel scroll";
    const int afterDown = bar->value();
    QWheelEvent up(centre, view.mapToGlobal(centre.toPoint()), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &up);
    EXPECT_LT(bar->value(), afterDown);
}

TEST_F(RightViewTest, TheScreenShowsScannableBarsInBothColourSchemes)
{
    AddEntries(2);
    for (const bool inverted : {false, true}) {
        SCOPED_TRACE(inverted);
        options.invertColours = inverted;
        view.verticalScrollBar()->setValue(0);
        QImage image = Paint().convertToFormat(QImage::Format_Grayscale8);
        const double scale = view.logicalDpiX() / 96.0;
        const CodeInfo& entry = doc.entries[1];
        const int inset = inverted ? 2 : -10;
        QImage area = image.copy(QRect(static_cast<int>((entry.symbolX - 15 + inset) * scale),
                                       static_cast<int>((entry.symbolY + 50 - 3) * scale),
                                       static_cast<int>((entry.moduleCount + 30 - 2 * inset) * scale),
                                       static_cast<int>(42 * scale)));
        if (inverted)
            area.invertPixels();
        EXPECT_EQ(test::DecodeGrey(area.constBits(), area.width(), area.height(),
                                   static_cast<int>(area.bytesPerLine()), ZXing::BarcodeFormat::Code128),
                  std::vector<std::string>{entry.codeText});
    }
}

TEST_F(RightViewTest, DecodedOutputOnlyGrowsTheRange)
{
    options.viewMode = CQuillonDoc::kMonitorView;
    options.decodedOutput = true;
    for (int i = 0; i < 40; ++i)
        doc.decodedLines.push_back({"decoded line " + std::to_string(i)});
    Paint();
    EXPECT_EQ(doc.upperGeometry.totalHeight, 40 + 17 * 41);
    doc.decodedLines.resize(2);
    Paint();
    EXPECT_EQ(doc.upperGeometry.totalHeight, 40 + 17 * 41);
}

TEST_F(RightViewTest, PrintingAnEmptyDocumentShowsTheMessage)
{
    test::RecordingPrompt prompt;
    QPrinter printer;
    EXPECT_FALSE(view.PrintDocument(prompt, printer));
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].kind, test::RecordingPrompt::Shown::Error);
    EXPECT_EQ(prompt.shown[0].text, "当前没有可打印的配置信息，请先配置条码信息！");
}

}  // namespace
}  // namespace quillon
