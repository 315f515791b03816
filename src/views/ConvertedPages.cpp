#include "views/ConvertedPages.h"

#include "catalogue/SelectionDispatch.h"
#include "document/QuillonDoc.h"

namespace quillon {

namespace {

constexpr int kCodesLeft = 60;
constexpr int kLineHeight = 20;
constexpr int kPageTop = 65;
// Body lines end this far above P: the footer hangs from P - 5.
constexpr int kFooterBand = 15;

}  // namespace

std::vector<CodeLine> FlowCodeLines(const std::vector<std::string>& codes, int averageCharWidth, int right,
                                    bool everyThird)
{
    std::vector<CodeLine> lines;
    if (codes.empty())
        return lines;
    CodeLine line;
    int x = kCodesLeft;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        line.end = i + 1;
        x += CharacterCount(codes[i]) * averageCharWidth;
        if (i + 1 == codes.size())
            break;
        const bool third = everyThird && i > 0 && (i + 1) % 3 == 0;
        if (third || x + CharacterCount(codes[i + 1]) * averageCharWidth >= right) {
            lines.push_back(line);
            line = CodeLine{i + 1, i + 1};
            x = kCodesLeft;
        }
    }
    lines.push_back(line);
    return lines;
}

int ConvertedPages::SymbolHeight(const CQuillonDoc& doc)
{
    return doc.ConversionSymbolMade() ? doc.convHeight : kLineHeight;
}

ConvertedPages::ConvertedPages(const CQuillonDoc& doc, int W, int P, int averageCharWidth) : bottom_(P - kFooterBand)
{
    for (std::size_t i = 0; i < doc.convCaptions.size(); ++i)
        Place({Block::Caption, i, i + 1}, kLineHeight);
    Place({Block::Symbol}, kSymbolMargin + SymbolHeight(doc) + kSymbolMargin);
    for (const CodeLine& line : FlowCodeLines(doc.convCodes, averageCharWidth, W, false))
        Place({Block::Codes, line.first, line.end}, kLineHeight);
}

void ConvertedPages::Place(Block block, int height)
{
    // A block taller than a whole page still gets one of its own.
    if (pages_.empty() || (y_ + height > bottom_ && !pages_.back().empty())) {
        pages_.emplace_back();
        y_ = kPageTop;
    }
    block.top = y_;
    pages_.back().push_back(block);
    y_ += height;
}

}  // namespace quillon
