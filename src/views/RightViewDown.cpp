#include "views/RightViewDown.h"

#include "app/QtText.h"
#include "device/KlsBmpFile.h"
#include "document/QuillonDoc.h"
#include "views/ViewOptions.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace quillon {

namespace {
constexpr int kImageOrigin = 5;
}

CRightViewDown::CRightViewDown(CQuillonDoc& doc, const IViewOptions& options, std::function<void()> saveImage,
                               QWidget* parent)
    : QAbstractScrollArea(parent), doc_(doc), options_(options), saveImage_(std::move(saveImage))
{
    viewport()->setAutoFillBackground(true);
    QPalette palette = viewport()->palette();
    palette.setColor(QPalette::Window, Qt::white);
    viewport()->setPalette(palette);
    setFocusPolicy(Qt::StrongFocus);
}

double CRightViewDown::UnitScale() const { return logicalDpiX() / 96.0; }

bool CRightViewDown::ShowsImage() const
{
    return options_.ViewMode() == CQuillonDoc::kMonitorView && doc_.image.Present();
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
    // The image may be larger than the pane: the range covers it.
    const double scale = UnitScale();
    const ScrollGeometry& g = doc_.lowerGeometry;
    const int width = std::max(g.totalWidth, shown_.isNull() ? 0 : kImageOrigin + shown_.width());
    const int height = std::max(g.totalHeight, shown_.isNull() ? 0 : kImageOrigin + shown_.height());
    verticalScrollBar()->setRange(0, std::max(0, static_cast<int>(height * scale) - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    horizontalScrollBar()->setRange(0, std::max(0, static_cast<int>(width * scale) - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
}

void CRightViewDown::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    ApplyScrollSizes();
}

void CRightViewDown::paintEvent(QPaintEvent*)
{
    RefreshImage();
    ApplyScrollSizes();
    if (shown_.isNull())
        return;
    QPainter painter(viewport());
    painter.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    const double scale = UnitScale();
    painter.scale(scale, scale);
    painter.drawImage(QRect(kImageOrigin, kImageOrigin, doc_.image.width, doc_.image.height), shown_);
}

QMenu* CRightViewDown::CreateImageMenu()
{
    if (!ShowsImage())
        return nullptr;
    auto* menu = new QMenu(this);
    QAction* save = menu->addAction(Q(kImageMenuText));
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
