#include "views/QtPainter.h"

#include <QFontMetrics>
#include <QPainter>

#include <cstring>

namespace quillon {

namespace {

QColor ToColor(Rgb colour)
{
    return QColor(colour.red, colour.green, colour.blue);
}

}  // namespace

QtPainter::QtPainter(QPainter& painter) : painter_(painter), font_(FontFor(FontRole::Body))
{
    // Bars must keep sharp edges for the scanner; no blending at the edges.
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setFont(font_);
    painter_.setPen(Qt::black);
    const QPaintDevice* device = painter_.device();
    visible_ = painter_.transform().inverted().mapRect(QRectF(0, 0, device->width(), device->height()));
}

bool QtPainter::RowsVisible(int top, int bottom) const
{
    return bottom >= visible_.top() && top <= visible_.bottom();
}

QFont QtPainter::FontFor(FontRole role)
{
    // 宋体 draws Latin text at half the width of a Chinese character, which
    // the converted layout relies on when it flows command strings by the
    // average character width; where it is missing, a CJK face with the same
    // half-width Latin glyphs stands in.
    QFont font;
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                      QStringLiteral("WenQuanYi Zen Hei Mono"), QStringLiteral("WenQuanYi Micro Hei Mono"),
                      QStringLiteral("Noto Sans Mono CJK SC"), QStringLiteral("DejaVu Sans Mono")});
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(14);
    if (role == FontRole::Body) {
        font.setWeight(QFont::Thin);
    } else {
        font.setWeight(QFont::Black);
        font.setItalic(true);
        font.setUnderline(true);
    }
    return font;
}

void QtPainter::SetFont(FontRole role)
{
    font_ = FontFor(role);
    painter_.setFont(font_);
}

void QtPainter::SetTextColour(Rgb colour)
{
    painter_.setPen(ToColor(colour));
}

void QtPainter::Text(int x, int y, const std::string& text)
{
    const QFontMetricsF metrics(font_);
    painter_.drawText(QPointF(x, y + metrics.ascent()), QString::fromStdString(text));
}

void QtPainter::Line(int x1, int y1, int x2, int y2)
{
    const QPen saved = painter_.pen();
    painter_.setPen(QPen(Qt::black, 1));
    painter_.drawLine(x1, y1, x2, y2);
    painter_.setPen(saved);
}

void QtPainter::FillRect(int left, int top, int right, int bottom, Rgb colour)
{
    if (right > left && bottom > top)
        painter_.fillRect(QRect(left, top, right - left, bottom - top), ToColor(colour));
}

void QtPainter::Cells(int x, int y, const std::uint8_t* cells, int columns, int rows, int cellWidth, int cellHeight,
                      Rgb colour)
{
    // Runs of set cells become one rectangle, and identical rows one band, so
    // a symbol is a few hundred rectangles rather than one per pixel.
    const QColor fill = ToColor(colour);
    const auto rowBytes = static_cast<std::size_t>(columns);
    for (int r = 0; r < rows;) {
        const std::uint8_t* row = cells + static_cast<std::size_t>(r) * rowBytes;
        int band = 1;
        while (r + band < rows && std::memcmp(row, row + band * rowBytes, rowBytes) == 0)
            ++band;
        for (int c = 0; c < columns;) {
            if (row[c] != 1) {
                ++c;
                continue;
            }
            int run = 1;
            while (c + run < columns && row[c + run] == 1)
                ++run;
            painter_.fillRect(QRect(x + c * cellWidth, y + r * cellHeight, run * cellWidth, band * cellHeight), fill);
            c += run;
        }
        r += band;
    }
}

int QtPainter::AverageCharWidth()
{
    return QFontMetrics(font_).averageCharWidth();
}

}  // namespace quillon
