#include "views/DocumentLayout.h"

#include "base/ShownText.h"
#include "catalogue/SelectionDispatch.h"
#include "document/QuillonDoc.h"
#include "views/ConvertedPages.h"

#include <algorithm>

namespace quillon {

namespace {

constexpr int kHeaderBand = 50;
constexpr int kPageTop = 65;  // first caption on paper
constexpr int kEntryPitch = 80;
constexpr int kLineHeight = 20;
constexpr int kScreenCaptionTop = 80;

}  // namespace

DocumentLayout::DocumentLayout(const CQuillonDoc& doc, bool inverted) : doc_(doc), inverted_(inverted)
{
}

void DocumentLayout::Header(IPainter& painter, int width, bool paper) const
{
    painter.SetFont(FontRole::Body);
    painter.SetTextColour(kBlack);
    painter.Text(4 * width / 5, 30, Shown(kDocumentTitle));
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
        Entry(painter, entry, entry.captionX, entry.captionY + kHeaderBand, entry.symbolX, entry.symbolY + kHeaderBand,
              entry.codeX, entry.codeY + kHeaderBand);
    return doc_.entries.empty() ? 0 : doc_.entries.back().codeY + 155;
}

int DocumentLayout::ScreenWidth(int clientWidth, int average) const
{
    constexpr int kMargin = 10;
    // Chinese characters are twice as wide as the average (Latin) one.
    const int title = 2 * average * CharacterCount(Shown(kDocumentTitle)) + kMargin;
    int width = std::max(clientWidth, 5 * title);  // the title starts at four fifths
    if (doc_.displayMode == CQuillonDoc::kShowList) {
        for (const CodeInfo& entry : doc_.entries) {
            const int bars = entry.symbolX + entry.moduleWidth * entry.moduleCount + 15;
            const int code = entry.codeX + average * CharacterCount(entry.codeText);
            const int caption = entry.captionX + 2 * average * CharacterCount(entry.caption);
            width = std::max({width, bars + kMargin, code + kMargin, caption + kMargin});
        }
    } else if (doc_.ConversionSymbolMade()) {
        width = std::max(width, doc_.convWidth + 75 + kMargin);
    }
    return width;
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
    int y = kScreenCaptionTop;
    for (std::size_t i = 0; i < doc_.convCaptions.size(); ++i, y += kLineHeight)
        ConvertedCaption(painter, i, y);
    const int top = y;
    ConvertedSymbol(painter, top);
    y = top + ConvertedPages::SymbolHeight(doc_) + 15;
    const int average = painter.AverageCharWidth();
    for (const CodeLine& line : FlowCodeLines(doc_.convCodes, average, clientWidth, true)) {
        ConvertedCodes(painter, line, y, average);
        y += kLineHeight;
    }
    return y;
}

void DocumentLayout::ConvertedPage(IPainter& painter, int W, const std::vector<ConvertedPages::Block>& blocks) const
{
    Header(painter, W, true);
    const int average = painter.AverageCharWidth();
    for (const ConvertedPages::Block& block : blocks) {
        switch (block.kind) {
        case ConvertedPages::Block::Caption: ConvertedCaption(painter, block.first, block.top); break;
        case ConvertedPages::Block::Symbol: ConvertedSymbol(painter, block.top + ConvertedPages::kSymbolMargin); break;
        case ConvertedPages::Block::Codes: ConvertedCodes(painter, {block.first, block.end}, block.top, average); break;
        }
    }
}

void DocumentLayout::ConvertedCaption(IPainter& painter, std::size_t index, int y) const
{
    painter.SetTextColour(kBlack);
    painter.Text(60, y, doc_.convCaptions[index]);
}

void DocumentLayout::ConvertedSymbol(IPainter& painter, int top) const
{
    if (!doc_.ConversionSymbolMade()) {
        // Too much for one symbol: say so where the operator looks for it.
        painter.SetTextColour(kBlack);
        painter.Text(60, top, Shown(kConversionTooLargeNote));
        return;
    }
    if (inverted_)
        painter.FillRect(45, top - 6, doc_.convWidth + 75, top + doc_.convHeight + 7, kBlack);
    painter.Cells(60, top, doc_.convPixels.data(), doc_.convWidth, doc_.convHeight, 1, 1, BarColour());
}

void DocumentLayout::ConvertedCodes(IPainter& painter, CodeLine line, int y, int average) const
{
    painter.SetTextColour(kBlue);
    int x = 60;
    for (std::size_t i = line.first; i < line.end; ++i) {
        painter.Text(x, y, doc_.convCodes[i]);
        x += CharacterCount(doc_.convCodes[i]) * average;
    }
}

void DocumentLayout::Footer(IPainter& painter, int W, int P, int page, int pageCount) const
{
    const std::string text = Filled(Shown("第 %1 页 / 共 %2 页"), {std::to_string(page), std::to_string(pageCount)});
    painter.SetFont(FontRole::Body);
    painter.SetTextColour(kBlack);
    painter.Text(W / 2, P - 5, text);
}

}  // namespace quillon
