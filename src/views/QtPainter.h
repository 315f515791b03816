#pragma once
#include "views/IPainter.h"

#include <QFont>
#include <QRectF>

class QPainter;

namespace quillon {

// The layouts' painter on a QPainter whose transform maps view units to the
// device: the screen, a printer, a PDF writer or an image.
class QtPainter : public IPainter {
public:
    explicit QtPainter(QPainter& painter);

    void SetFont(FontRole role) override;
    void SetTextColour(Rgb colour) override;
    void Text(int x, int y, const std::string& text) override;
    void Line(int x1, int y1, int x2, int y2) override;
    void FillRect(int left, int top, int right, int bottom, Rgb colour) override;
    void Cells(int x, int y, const std::uint8_t* cells, int columns, int rows, int cellWidth, int cellHeight,
               Rgb colour) override;
    int AverageCharWidth() override;
    bool RowsVisible(int top, int bottom) const override;

    static QFont FontFor(FontRole role);

private:
    QPainter& painter_;
    QFont font_;
    QRectF visible_;  // the device's area in view units
};

}  // namespace quillon
