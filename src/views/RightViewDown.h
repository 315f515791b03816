#pragma once
#include <QAbstractScrollArea>

#include <functional>

namespace quillon {

class CQuillonDoc;

// The lower right pane.  In the configuration view with "修改设备参数"
// ticked it is the serial monitor: every setting frame sent and every reply,
// drawn from the document's monitorLines at each paint.  In the monitor
// view it is where the extracted image is shown.  It keeps no data of its
// own; its scroll range is the document's lowerGeometry.
class CRightViewDown : public QAbstractScrollArea {
    Q_OBJECT
public:
    // viewMode and serialMonitor are asked at every paint.
    CRightViewDown(CQuillonDoc& doc, std::function<int()> viewMode, std::function<bool()> serialMonitor,
                   QWidget* parent = nullptr);

    // Applies the document's lowerGeometry as scroll sizes.
    void ApplyScrollSizes();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PaintSerialMonitor(QPainter& painter);
    double UnitScale() const;

    CQuillonDoc& doc_;
    std::function<int()> viewMode_;
    std::function<bool()> serialMonitor_;
};

}  // namespace quillon
