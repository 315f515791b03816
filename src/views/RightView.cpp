#include "views/RightView.h"

#include "base/QtText.h"

#include "base/Prompt.h"
#include "document/QuillonDoc.h"
#include "views/PagedPrint.h"
#include "views/PaneContent.h"
#include "views/QtPainter.h"

#include <QAbstractPrintDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QWheelEvent>

namespace quillon {

namespace {

constexpr int kOwnLineStep = 10;

}  // namespace

CRightView::CRightView(CQuillonDoc& doc, const IViewOptions& options, QWidget* parent)
    : QAbstractScrollArea(parent),
      doc_(doc),
      options_(options)
{
    viewport()->setAutoFillBackground(true);
    QPalette palette = viewport()->palette();
    palette.setColor(QPalette::Window, Qt::white);
    viewport()->setPalette(palette);
    // A scroll bar that came and went with the content would resize the pane,
    // and every resize resets the range the content just set.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this, &CRightView::OnVerticalAction);
    ApplyScrollSizes();
}

double CRightView::UnitScale() const
{
    return logicalDpiX() / 96.0;
}

int CRightView::TotalWidth() const
{
    // Content wider than the pane is reached with the horizontal scroll bar;
    // keeping it through a reset keeps the bar from coming and going.
    const int client = ClientWidthUnits();
    return contentWidth_ > client ? contentWidth_ : client - 20;
}

int CRightView::ClientWidthUnits() const
{
    return static_cast<int>(viewport()->width() / UnitScale());
}

void CRightView::ApplyScrollSizes()
{
    const ScrollGeometry& g = doc_.upperGeometry;
    const double scale = UnitScale();
    const int viewWidth = viewport()->width();
    const int viewHeight = viewport()->height();
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, std::max(0, static_cast<int>(g.totalHeight * scale) - viewHeight));
    vertical->setSingleStep(static_cast<int>(g.lineHeight * scale));
    vertical->setPageStep(static_cast<int>(g.pageHeight * scale));
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, std::max(0, static_cast<int>(g.totalWidth * scale) - viewWidth));
    horizontal->setSingleStep(static_cast<int>(g.lineWidth * scale));
    horizontal->setPageStep(static_cast<int>(g.pageWidth * scale));
}

void CRightView::ResetGeometry()
{
    const int w = ClientWidthUnits();
    const int h = static_cast<int>(viewport()->height() / UnitScale());
    ScrollGeometry& g = doc_.upperGeometry;
    g.lineWidth = g.pageWidth = w - 20;
    g.totalWidth = TotalWidth();
    g.totalHeight = g.pageHeight = h;
    g.lineHeight = h / 10;
    ApplyScrollSizes();
}

void CRightView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    const double scale = UnitScale();
    painter.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    painter.scale(scale, scale);
    QtPainter adapter(painter);
    const int client = ClientWidthUnits();
    const int width = PaneWidth(adapter, doc_, options_, client);
    const PaneBottom content = DrawPane(adapter, doc_, options_, width);
    painter.end();

    contentWidth_ = width;
    if (TotalWidth() != doc_.upperGeometry.totalWidth) {
        doc_.upperGeometry.totalWidth = TotalWidth();
        ApplyScrollSizes();
    }

    const HeightChange change = FollowContent(doc_.upperGeometry.totalHeight, content);
    if (change.totalHeight == doc_.upperGeometry.totalHeight && !change.scrollToBottom) {
        return;
    }
    doc_.upperGeometry.totalHeight = change.totalHeight;
    ApplyScrollSizes();
    if (change.scrollToBottom) {
        verticalScrollBar()->setValue(static_cast<int>(change.totalHeight * scale));
        viewport()->update();
    }
}

void CRightView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (static_cast<int>(viewport()->height() / UnitScale()) != doc_.upperGeometry.totalHeight)
        ResetGeometry();
    else
        ApplyScrollSizes();
}

void CRightView::OnVerticalAction(int action)
{
    // A line or page request moves by the pane's own step first and then by
    // the scroll bar's step, so one click covers a little more than a line.
    // Thumb drags go where the thumb is.
    QScrollBar* bar = verticalScrollBar();
    const double scale = UnitScale();
    int extra = 0;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: extra = -static_cast<int>(kOwnLineStep * scale); break;
    case QAbstractSlider::SliderSingleStepAdd: extra = static_cast<int>(kOwnLineStep * scale); break;
    case QAbstractSlider::SliderPageStepSub: extra = -bar->pageStep(); break;
    case QAbstractSlider::SliderPageStepAdd: extra = bar->pageStep(); break;
    default: return;
    }
    bar->setSliderPosition(bar->sliderPosition() + extra);
}

void CRightView::wheelEvent(QWheelEvent* event)
{
    const int notches = event->angleDelta().y() / 120;
    for (int i = 0; i < std::abs(notches); ++i)
        verticalScrollBar()->triggerAction(notches > 0 ? QAbstractSlider::SliderSingleStepSub
                                                       : QAbstractSlider::SliderSingleStepAdd);
    QAbstractScrollArea::wheelEvent(event);
}

bool CRightView::AskForPrinter(QPrinter& printer)
{
    // The printer's whole sheet is the drawing area; the job has the
    // application's title as its name.
    printer.setFullPage(true);
    printer.setDocName(Tr(kPrintJobName));
    QPrintDialog dialog(&printer, this);
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize | QAbstractPrintDialog::PrintCollateCopies |
                      QAbstractPrintDialog::PrintToFile);
    return dialog.exec() == QDialog::Accepted;
}

bool CRightView::Printed(IPrompt& prompt, int pages)
{
    if (pages < 0)
        prompt.ShowError(kPrintNotStartedText);
    return pages > 0;
}

bool CRightView::PrintDocument(IPrompt& prompt, QPrinter& printer)
{
    if (doc_.entries.empty()) {
        prompt.ShowError(kNothingToPrintText);
        return false;
    }
    if (!AskForPrinter(printer))
        return false;
    return Printed(prompt, PrintWithFooters(printer, doc_, options_));
}

bool CRightView::PrintStandard(IPrompt& prompt, QPrinter& printer)
{
    if (!AskForPrinter(printer))
        return false;
    return Printed(prompt, PrintPaneLayout(printer, doc_, options_));
}

}  // namespace quillon
