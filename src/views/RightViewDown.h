#pragma once
#include <QAbstractScrollArea>
#include <QImage>

#include <functional>

class QMenu;

namespace quillon {

class CQuillonDoc;
class IViewOptions;

inline constexpr const char* kImageMenuText = "图片保存";

// The lower right pane.  In the monitor view it shows the image last taken
// from the device at (5, 5), one view unit (1/96 inch) a pixel, drawn from
// the same BMP file that "图像保存" writes, and offers "图片保存" on a right
// click.  It keeps no copy of the document beyond the decoded picture of the
// image it last drew.
class CRightViewDown : public QAbstractScrollArea {
    Q_OBJECT
public:
    // saveImage: what "图片保存" does.  Painting changes nothing else: a
    // paint must not move the reply route while an exchange is running.
    CRightViewDown(CQuillonDoc& doc, const IViewOptions& options, std::function<void()> saveImage,
                   QWidget* parent = nullptr);

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
    bool ShowsImage() const;
    void RefreshImage();
    void ApplyScrollSizes();
    double UnitScale() const;

    CQuillonDoc& doc_;
    const IViewOptions& options_;
    std::function<void()> saveImage_;
    QImage shown_;
    unsigned shownSerial_ = 0;
};

}  // namespace quillon
