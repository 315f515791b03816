#include "views/RightViewDown.h"

#include "base/QtText.h"
#include "device/KlsBmpFile.h"
#include "document/QuillonDoc.h"
#include "views/MonitorLayout.h"
#include "views/QtPainter.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace quillon {

namespace {
constexpr int kImageOrigin = 5;
}

CRightViewDown::CRightViewDown(CQuillonDoc& doc, std::function<ViewMode()> viewMode,
                               std::function<bool()> serialMonitor, std::function<void()> saveImage, QWidget* parent)
    : QAbstractScrollArea(parent),
      doc_(doc),
      viewMode_(std::move(viewMode)),
      serialMonitor_(std::move(serialMonitor)),
      saveImage_(std::move(saveImage))
{
    viewport()->setAutoFillBackground(true);
    QPalette palette = viewport()->palette();
    palette.setColor(QPalette::Window, Qt::white);
    viewport()->setPalette(palette);
    setFocusPolicy(Qt::StrongFocus);
    ApplyScrollSizes();
}

double CRightViewDown::UnitScale() const
{
    return logicalDpiY() / 96.0;
}

bool CRightViewDown::ShowsImage() const
{
    return viewMode_() == ViewMode::Monitor && doc_.image.Present();
}

void CRightViewDown::RefreshImage()
{
    if (!ShowsImage()) {
        shown_ = QImage();
        return;
    }
    if (!shown_.isNull() && shownSerial_ == doc_.image.serial)
        return;
    CKlsBmpFile bmp;
    const DeviceImage& image = doc_.image;
    shown_ = bmp.Build(image.pixels.data(), image.pixels.size(), image.width, image.height)
                 ? QImage::fromData(bmp.FileBytes().data(), static_cast<int>(bmp.FileBytes().size()), "BMP")
                 : QImage();
    shownSerial_ = image.serial;
}

void CRightViewDown::ApplyScrollSizes()
{
    // Steps are the upper pane's, as the operator knows them from there; an
    // image larger than the pane widens the range to cover it.
    const ScrollGeometry& g = doc_.lowerGeometry;
    const ScrollGeometry& steps = doc_.upperGeometry;
    const double scale = UnitScale();
    const int width = std::max(g.totalWidth, shown_.isNull() ? 0 : kImageOrigin + shown_.width());
    const int height = std::max(g.totalHeight, shown_.isNull() ? 0 : kImageOrigin + shown_.height());
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, std::max(0, static_cast<int>(height * scale) - viewport()->height()));
    vertical->setSingleStep(std::max(1, static_cast<int>(steps.lineHeight * scale)));
    vertical->setPageStep(std::max(1, static_cast<int>(steps.pageHeight * scale)));
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, std::max(0, static_cast<int>(width * scale) - viewport()->width()));
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
    const bool wasShown = !shown_.isNull();
    RefreshImage();
    if (wasShown || !shown_.isNull())
        ApplyScrollSizes();
    if (viewMode_() == ViewMode::Configuration && serialMonitor_()) {
        PaintSerialMonitor(painter);
        return;
    }
    if (shown_.isNull())
        return;
    painter.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    const double scale = UnitScale();
    painter.scale(scale, scale);
    painter.drawImage(QRect(kImageOrigin, kImageOrigin, doc_.image.width, doc_.image.height), shown_);
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

QMenu* CRightViewDown::CreateImageMenu()
{
    RefreshImage();
    if (!ShowsImage())
        return nullptr;
    auto* menu = new QMenu(this);
    QAction* save = menu->addAction(Tr(kImageMenuText));
    save->setObjectName("saveImage");
    connect(save, &QAction::triggered, this, [this] {
        if (saveImage_)
            saveImage_();
    });
    return menu;
}

void CRightViewDown::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        if (QMenu* menu = CreateImageMenu()) {
            menu->exec(event->globalPosition().toPoint());
            delete menu;
        }
    }
    QAbstractScrollArea::mousePressEvent(event);
}

}  // namespace quillon
