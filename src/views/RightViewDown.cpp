#include "views/RightViewDown.h"

#include "document/QuillonDoc.h"
#include "views/MonitorLayout.h"
#include "views/QtPainter.h"

#include <QPainter>
#include <QScrollBar>

namespace quillon {

CRightViewDown::CRightViewDown(CQuillonDoc& doc, std::function<int()> viewMode, std::function<bool()> serialMonitor,
                               QWidget* parent)
    : QAbstractScrollArea(parent), doc_(doc), viewMode_(std::move(viewMode)), serialMonitor_(std::move(serialMonitor))
{
    viewport()->setAutoFillBackground(true);
    QPalette palette = viewport()->palette();
    palette.setColor(QPalette::Window, Qt::white);
    viewport()->setPalette(palette);
    setFocusPolicy(Qt::StrongFocus);
    ApplyScrollSizes();
}

double CRightViewDown::UnitScale() const { return logicalDpiY() / 96.0; }

void CRightViewDown::ApplyScrollSizes()
{
    // Steps are the upper pane's, as the operator knows them from there.
    const ScrollGeometry& g = doc_.lowerGeometry;
    const ScrollGeometry& steps = doc_.upperGeometry;
    const double scale = UnitScale();
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, std::max(0, static_cast<int>(g.totalHeight * scale) - viewport()->height()));
    vertical->setSingleStep(std::max(1, static_cast<int>(steps.lineHeight * scale)));
    vertical->setPageStep(std::max(1, static_cast<int>(steps.pageHeight * scale)));
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, std::max(0, static_cast<int>(g.totalWidth * scale) - viewport()->width()));
    horizontal->setSingleStep(std::max(1, static_cast<int>(g.lineWidth * scale)));
    horizontal->setPageStep(std::max(1, static_cast<int>(g.pageWidth * scale)));
}

void CRightViewDown::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    ApplyScrollSizes();
}

void CRightViewDown::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    if (viewMode_() == CQuillonDoc::kConfigurationView && serialMonitor_())
        PaintSerialMonitor(painter);
    // In the monitor view this pane shows the image last extracted from the
    // device; image extraction draws it here.
}

void CRightViewDown::PaintSerialMonitor(QPainter& painter)
{
    const double scale = UnitScale();
    const int grown = MonitorTotalHeight(doc_.monitorLines, doc_.lowerGeometry.totalHeight);
    if (grown != doc_.lowerGeometry.totalHeight) {
        doc_.lowerGeometry.totalHeight = grown;
        ApplyScrollSizes();
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    }
    const int offset = verticalScrollBar()->value();
    painter.translate(-horizontalScrollBar()->value(), -offset);
    painter.scale(scale, scale);
    QtPainter adapter(painter);
    const int top = static_cast<int>(offset / scale);
    DrawMonitor(adapter, doc_.monitorLines, top, top + static_cast<int>(viewport()->height() / scale) + 1);
}

}  // namespace quillon
