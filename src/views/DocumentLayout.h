#pragma once
#include "document/CodeInfo.h"
#include "views/ConvertedPages.h"
#include "views/IPainter.h"

#include <cstddef>
#include <vector>

namespace quillon {

class CQuillonDoc;

inline constexpr const char* kDocumentTitle = "扫描枪条码配置文档";

// Where the configuration document goes on screen and on paper.  Screen
// layouts return their bottom edge so the view can size its scroll range;
// page layouts draw one printed page.
class DocumentLayout {
public:
    DocumentLayout(const CQuillonDoc& doc, bool inverted);

    // Title and rule.  width is the client width on screen, W on paper.
    void Header(IPainter& painter, int width, bool paper) const;
    // One entry's bars with their background, top-left of the bars at (x, y).
    void Symbol(IPainter& painter, const CodeInfo& entry, int x, int y) const;

    // The entry list; returns the last entry's bottom (0 when empty).
    int List(IPainter& painter, int clientWidth) const;
    // The converted symbol with all captions and command strings; returns
    // the bottom.
    int Converted(IPainter& painter, int clientWidth) const;

    // One printed page of the list, from entry cursor on; returns the cursor
    // after the entries that fitted a page of P units.
    std::size_t ListPage(IPainter& painter, int W, int P, std::size_t cursor) const;
    // One printed page of the converted document: the blocks that
    // ConvertedPages put on it.
    void ConvertedPage(IPainter& painter, int W, const std::vector<ConvertedPages::Block>& blocks) const;
    void Footer(IPainter& painter, int W, int P, int page, int pageCount) const;

    // The width the screen layouts need: the client width, or more where the
    // title at four fifths of it or an entry would be cut, so that the pane
    // scrolls sideways instead.  average: the body font's character width.
    int ScreenWidth(int clientWidth, int average) const;

    // Entries a page of P units holds.
    static int EntriesPerPage(int P);

private:
    void Entry(IPainter& painter, const CodeInfo& entry, int captionX, int captionY, int symbolX, int symbolY,
               int codeX, int codeY) const;
    void ConvertedCaption(IPainter& painter, std::size_t index, int y) const;
    // The symbol with its top at top, or the note that there is none.
    void ConvertedSymbol(IPainter& painter, int top) const;
    void ConvertedCodes(IPainter& painter, CodeLine line, int y, int average) const;
    Rgb BarColour() const { return inverted_ ? kWhite : kBlack; }
    Rgb BackColour() const { return inverted_ ? kBlack : kWhite; }

    const CQuillonDoc& doc_;
    bool inverted_;
};

}  // namespace quillon
