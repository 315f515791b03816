#pragma once
#include "views/Rgb.h"

#include <cstdint>
#include <string>

namespace quillon {

enum class FontRole {
    Body,     // 14 units, thin
    Heading,  // same face and height, heavy, italic, underlined
};

// What the layouts draw with, in view units (1 unit = 1/96 inch).  One
// implementation draws on a QPainter (screen, printer, PDF, PNG); tests record
// the calls.  Rectangles are [left, right) x [top, bottom).
class IPainter {
public:
    virtual ~IPainter() = default;
    virtual void SetFont(FontRole role) = 0;
    virtual void SetTextColour(Rgb colour) = 0;
    // Text with its top-left corner at (x, y).
    virtual void Text(int x, int y, const std::string& text) = 0;
    // A solid black line one unit wide.
    virtual void Line(int x1, int y1, int x2, int y2) = 0;
    virtual void FillRect(int left, int top, int right, int bottom, Rgb colour) = 0;
    // A grid of cells, columns x rows, row after row: every cell whose byte is
    // 1 is filled with colour, cellWidth x cellHeight units, the first at (x, y).
    virtual void Cells(int x, int y, const std::uint8_t* cells, int columns, int rows, int cellWidth, int cellHeight,
                       Rgb colour) = 0;
    // Average character width of the current font, in units.
    virtual int AverageCharWidth() = 0;
    // Whether anything drawn between these rows can be seen; a layout with
    // many lines skips the rest instead of drawing what nobody sees.
    virtual bool RowsVisible(int /*top*/, int /*bottom*/) const { return true; }
};

}  // namespace quillon
