#include "views/DocumentLayout.h"

#include "catalogue/SelectionDispatch.h"
#include "document/QuillonDoc.h"

#include <cstdio>

namespace quillon {

namespace {

constexpr int kHeaderBand = 50;
constexpr int kPageTop = 65;  // first caption on paper
constexpr int kEntryPitch = 80;
constexpr int kLineHeight = 20;

}  // namespace

DocumentLayout::DocumentLayout(const CQuillonDoc& doc, bool inverted) : doc_(doc), inverted_(inverted) {}

void DocumentLayout::Header(IPainter& painter, int width, bool paper) const
{
    painter.SetFont(FontRole::Body);
    painter.SetTextColour(kBlack);
    painter.Text(4 * width / 5, 30, kDocumentTitle);
    painter.Line(10, kHeaderBand, paper ? width : width - 10, kHeaderBand);
}

void DocumentLayout::Symbol(IPainter& painter, const CodeInfo& entry, int x, int y) const
{
    if (entry.symbolVisible != 1)
        return;
    if (entry.moduleCount == 0 && !entry.symbolNote.empty()) {
        // No bars to show: say why in the bar area, legible on any paper.
        painter.SetTextColour(kBlack);
        painter.Text(x, y + 10, entry.symbolNote);
        return;
    }
    painter.FillRect(x - 15, y - 4, x + 15 + entry.moduleWidth * entry.moduleCount, y + entry.barHeight + 5,
                     BackColour());
    painter.Cells(x, y, entry.modules.data(), entry.moduleCount, 1, entry.moduleWidth, entry.barHeight + 1,
                  BarColour());
}

void DocumentLayout::Entry(IPainter& painter, const CodeInfo& entry, int captionX, int captionY, int symbolX,
                           int symbolY, int codeX, int codeY) const
{
    painter.SetTextColour(kBlack);
    painter.Text(captionX, captionY, entry.caption);
    Symbol(painter, entry, symbolX, symbolY);
    painter.SetTextColour(kBlue);
    painter.Text(codeX, codeY, entry.codeText);
}

int DocumentLayout::List(IPainter& painter, int clientWidth) const
{
    Header(painter, clientWidth, false);
    for (const CodeInfo& entry : doc_.entries)
        Entry(painter, entry, entry.captionX, entry.captionY + kHeaderBand, entry.symbolX,
              entry.symbolY + kHeaderBand, entry.codeX, entry.codeY + kHeaderBand);
    return doc_.entries.empty() ? 0 : doc_.entries.back().codeY + 155;
}

int DocumentLayout::EntriesPerPage(int P)
{
    // Entry k of a page needs 160 + 80k <= P.
    return P < 160 ? 0 : (P - 160) / kEntryPitch + 1;
}

std::size_t DocumentLayout::ListPage(IPainter& painter, int W, int P, std::size_t cursor) const
{
    Header(painter, W, true);
    for (int k = 0; cursor < doc_.entries.size() && 160 + kEntryPitch * k <= P; ++k, ++cursor) {
        const int top = kPageTop + kEntryPitch * k;
        Entry(painter, doc_.entries[cursor], 60, top, 60, top + 20, 110, top + 60);
    }
    return cursor;
}

int DocumentLayout::Converted(IPainter& painter, int clientWidth) const
{
    Header(painter, clientWidth, false);
    return ConvertedBody(painter, 80, clientWidth, false);
}

void DocumentLayout::ConvertedPage(IPainter& painter, int W, int clientWidth) const
{
    Header(painter, W, true);
    ConvertedBody(painter, kPageTop, clientWidth, true);
}

int DocumentLayout::ConvertedBody(IPainter& painter, int captionTop, int clientWidth, bool paper) const
{
    painter.SetTextColour(kBlack);
    int y = captionTop;
    for (const std::string& caption : doc_.convCaptions) {
        painter.Text(60, y, caption);
        y += kLineHeight;
    }
    const int top = y;
    if (inverted_)
        painter.FillRect(45, top - 6, doc_.convWidth + 75, top + doc_.convHeight + 7, kBlack);
    const auto expected = static_cast<std::size_t>(doc_.convWidth) * static_cast<std::size_t>(doc_.convHeight);
    if (expected > 0 && doc_.convPixels.size() == expected)
        painter.Cells(60, top, doc_.convPixels.data(), doc_.convWidth, doc_.convHeight, 1, 1, BarColour());

    painter.SetTextColour(kBlue);
    const int average = painter.AverageCharWidth();
    const auto& codes = doc_.convCodes;
    int x = 60;
    y = top + doc_.convHeight + 15;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        painter.Text(x, y, codes[i]);
        x += CharacterCount(codes[i]) * average;
        if (!paper && i > 0 && (i + 1) % 3 == 0) {
            x = 60;
            y += kLineHeight;
        }
        if (i + 1 == codes.size())
            break;
        if (x + CharacterCount(codes[i + 1]) * average >= clientWidth) {
            x = 60;
            y += kLineHeight;
        }
    }
    return y + kLineHeight;
}

void DocumentLayout::Footer(IPainter& painter, int W, int P, int page, int pageCount) const
{
    char text[64];
    std::snprintf(text, sizeof text, "第 %d 页 / 共 %d 页", page, pageCount);
    painter.SetFont(FontRole::Body);
    painter.SetTextColour(kBlack);
    painter.Text(W / 2, P - 5, text);
}

}  // namespace quillon
