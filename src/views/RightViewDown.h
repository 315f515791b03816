#pragma once
#include "base/ViewMode.h"
#include <QAbstractScrollArea>
#include <QImage>

#include <functional>

class QMenu;

namespace quillon {

class CQuillonDoc;

inline constexpr const char* kImageMenuText = "图片保存";

// The lower right pane.  In the configuration view with "修改设备参数"
// ticked it is the serial monitor: every setting frame sent and every reply,
// drawn from the document's monitorLines at each paint.  In the monitor
// view it shows the image last taken from the device at (5, 5), one view
// unit (1/96 inch) a pixel, drawn from the same BMP file that "图像保存"
// writes, and offers "图片保存" on a right click.  It keeps no data of its
// own beyond the decoded picture of the image it last drew; its scroll
// range is the document's lowerGeometry, widened to hold that image.
class CRightViewDown : public QAbstractScrollArea {
    Q_OBJECT
public:
    // viewMode and serialMonitor are asked at every paint; saveImage is what
    // "图片保存" does.  Painting changes nothing else: a paint must not move
    // the reply route while an exchange is running.
    CRightViewDown(CQuillonDoc& doc, std::function<ViewMode()> viewMode, std::function<bool()> serialMonitor,
                   std::function<void()> saveImage, QWidget* parent = nullptr);

    // Applies the document's lowerGeometry (and the image shown) as scroll
    // sizes.
    void ApplyScrollSizes();
    // The right-click menu where it applies (monitor view, an image held),
    // else nullptr; the caller owns it.
    QMenu* CreateImageMenu();
    // What the image layout draws, for tests: null when nothing.
    const QImage& ShownImage() const { return shown_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PaintSerialMonitor(QPainter& painter);
    bool ShowsImage() const;
    void RefreshImage();
    double UnitScale() const;

    CQuillonDoc& doc_;
    std::function<ViewMode()> viewMode_;
    std::function<bool()> serialMonitor_;
    std::function<void()> saveImage_;
    QImage shown_;
    unsigned shownSerial_ = 0;
};

}  // namespace quillon
