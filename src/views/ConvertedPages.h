#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace quillon {

class CQuillonDoc;

// The command strings [first, end) that share one line.
struct CodeLine {
    std::size_t first = 0;
    std::size_t end = 0;
};

// Lines of command strings flowing from x = 60, each as wide as its character
// count times the average character width: a line ends before a string that
// would reach right, and with everyThird after every third string as well.
std::vector<CodeLine> FlowCodeLines(const std::vector<std::string>& codes, int averageCharWidth, int right,
                                    bool everyThird);

// The converted document on paper: its captions, then its symbol, then its
// command strings flow down pages of P units, from the first line under the
// header to the footer's band.  The symbol never straddles a page and keeps a
// margin free around it, so nothing prints over it.
class ConvertedPages {
public:
    struct Block {
        enum Kind { Caption, Symbol, Codes };
        Kind kind = Caption;
        std::size_t first = 0;  // caption index, or the command strings' line
        std::size_t end = 0;
        int top = 0;
    };

    // Free space above and below the symbol: its quiet zone, and room for
    // the background of inverted colours.
    static constexpr int kSymbolMargin = 20;

    ConvertedPages(const CQuillonDoc& doc, int W, int P, int averageCharWidth);

    int Count() const { return static_cast<int>(pages_.size()); }
    // The blocks of page index (from 0), top to bottom.
    const std::vector<Block>& Page(int index) const { return pages_.at(static_cast<std::size_t>(index)); }

    // Height of the symbol's area: the symbol, or one line for the note that
    // says why there is none.
    static int SymbolHeight(const CQuillonDoc& doc);

private:
    void Place(Block block, int height);

    int bottom_;
    int y_ = 0;
    std::vector<std::vector<Block>> pages_;
};

}  // namespace quillon
