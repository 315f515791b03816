#include "views/RightView.h"
#include "document/QuillonDoc.h"
#include "support/PageImages.h"
#include "views/ViewOptions.h"

#include <QApplication>
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
        view.resize(900, 400);
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

TEST_F(RightViewTest, GeometryFollowsTheClientSizeTheListAndTheClear)
{
    const int w = view.viewport()->width();
    const int h = view.viewport()->height();
    const ScrollGeometry& g = doc.upperGeometry;
    EXPECT_EQ((std::vector<int>{g.totalWidth, g.totalHeight, g.lineWidth, g.lineHeight, g.pageWidth, g.pageHeight}),
              (std::vector<int>{w - 20, h, w - 20, h / 10, w - 20, h}));
    QScrollBar* bar = view.verticalScrollBar();
    EXPECT_EQ(bar->singleStep(), h / 10);
    EXPECT_EQ(bar->pageStep(), h);

    AddEntries(10);
    Paint();
    EXPECT_EQ(g.totalHeight, doc.entries.back().codeY + 155);
    EXPECT_EQ(bar->maximum(), g.totalHeight - h);
    EXPECT_EQ(bar->value(), bar->maximum()) << "scrolled to the new bottom";
    doc.entries.resize(1);
    Paint();
    EXPECT_EQ(g.totalHeight, 300) << "shorter content falls back to no less than 300";
    EXPECT_EQ(bar->maximum(), 0);

    AddEntries(10);
    Paint();
    ASSERT_TRUE(doc.ClearDocument(ViewMode::Configuration));
    view.ResetGeometry();
    EXPECT_EQ(g.totalHeight, h);
    EXPECT_EQ(bar->maximum(), 0);

    // A pane narrower than the document's title scrolls sideways to it.
    view.resize(500, 400);
    QApplication::processEvents();
    Paint();
    const int narrow = view.viewport()->width();
    EXPECT_GT(g.totalWidth, narrow - 20);
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), g.totalWidth - narrow);
}

TEST_F(RightViewTest, LineAndPageRequestsAndTheWheelMoveByTheOwnStepAndTheBarStep)
{
    AddEntries(30);
    Paint();
    QScrollBar* bar = view.verticalScrollBar();
    const int line = bar->singleStep();
    const int page = bar->pageStep();
    struct {
        int start;
        QAbstractSlider::SliderAction action;
        int expected;
    } const cases[] = {
        {0, QAbstractSlider::SliderSingleStepAdd, 10 + line},
        {200, QAbstractSlider::SliderSingleStepSub, 200 - 10 - line},
        {0, QAbstractSlider::SliderPageStepAdd, 2 * page},
        {2 * page + 5, QAbstractSlider::SliderPageStepSub, 5},
    };
    for (const auto& c : cases) {
        bar->setValue(c.start);
        bar->triggerAction(c.action);
        EXPECT_EQ(bar->value(), c.expected) << c.start << " action " << c.action;
    }
    bar->setValue(0);
    for (const int delta : {-120, 120}) {
        const int before = bar->value();
        const QPointF at(100, 100);
        QWheelEvent wheel(at, view.mapToGlobal(at.toPoint()), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(view.viewport(), &wheel);
        // Own line request plus the standard wheel scroll.
        EXPECT_GT(std::abs(bar->value() - before), 10 + line) << delta;
        EXPECT_EQ(bar->value() < before, delta > 0);
    }
}

TEST_F(RightViewTest, TheScreenShowsScannableBarsInBothColourSchemes)
{
    AddEntries(2);
    for (const bool inverted : {false, true}) {
        SCOPED_TRACE(inverted);
        options.invertColours = inverted;
        view.verticalScrollBar()->setValue(0);
        const CodeInfo& entry = doc.entries[1];
        const int inset = inverted ? 2 : -10;  // inverted: inside the black background only
        EXPECT_EQ(test::DecodeArea(Paint().convertToFormat(QImage::Format_Grayscale8), view.logicalDpiX() / 96.0,
                                   entry.symbolX - 15 + inset, entry.symbolY + 47,
                                   entry.symbolX + 15 + entry.moduleCount - inset, entry.symbolY + 89, inverted,
                                   ZXing::BarcodeFormat::Code128),
                  std::vector<std::string>{entry.codeText});
    }
}

}  // namespace
}  // namespace quillon
