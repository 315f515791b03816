#pragma once
#include "views/IPainter.h"

#include <string>
#include <vector>

namespace quillon::test {

// Records every drawing call with its coordinates and the colour or font in
// effect, so layouts can be checked without a device.
class RecordingPainter : public IPainter {
public:
    struct TextCall {
        int x, y;
        std::string text;
        Rgb colour;
        FontRole font;
    };
    struct LineCall {
        int x1, y1, x2, y2;
    };
    struct RectCall {
        int left, top, right, bottom;
        Rgb colour;
    };
    struct CellsCall {
        int x, y;
        std::vector<std::uint8_t> cells;
        int columns, rows, cellWidth, cellHeight;
        Rgb colour;
    };

    void SetFont(FontRole role) override { font_ = role; }
    void SetTextColour(Rgb colour) override { colour_ = colour; }
    void Text(int x, int y, const std::string& text) override { texts.push_back({x, y, text, colour_, font_}); }
    void Line(int x1, int y1, int x2, int y2) override { lines.push_back({x1, y1, x2, y2}); }
    void FillRect(int left, int top, int right, int bottom, Rgb colour) override
    {
        rects.push_back({left, top, right, bottom, colour});
    }
    void Cells(int x, int y, const std::uint8_t* data, int columns, int rows, int cellWidth, int cellHeight,
               Rgb colour) override
    {
        cells.push_back({x, y, std::vector<std::uint8_t>(data, data + columns * rows), columns, rows, cellWidth,
                         cellHeight, colour});
    }
    int AverageCharWidth() override { return averageCharWidth; }

    const TextCall* FindText(const std::string& text) const
    {
        for (const auto& call : texts)
            if (call.text == text)
                return &call;
        return nullptr;
    }

    int averageCharWidth = 7;
    std::vector<TextCall> texts;
    std::vector<LineCall> lines;
    std::vector<RectCall> rects;
    std::vector<CellsCall> cells;

private:
    Rgb colour_ = kBlack;
    FontRole font_ = FontRole::Body;
};

}  // namespace quillon::test
