#pragma once
#include "views/IPainter.h"

namespace quillon {

class CQuillonDoc;
class IViewOptions;

// The printing mapping: W units across the printable area and P units down
// it, where one unit is 1/96 inch; scale is device pixels per unit.
struct UnitMapping {
    int W = 0;
    int P = 0;
    double scaleX = 1.0;
    double scaleY = 1.0;
};

// The mapping of a printable area of the given pixels at the given
// resolution.  The footer hangs from P - 5, so P ends one text line above the
// area's bottom and the footer stays on the sheet.
UnitMapping MapUnits(int printableWidthPx, int printableHeightPx, int dpiX, int dpiY);

// A paged device: a painter for the current page and the step to the next.
class IPageTarget {
public:
    virtual ~IPageTarget() = default;
    virtual IPainter& Painter() = 0;
    // Ends the current page and starts the next; false when that failed.
    virtual bool NewPage() = 0;
};

// Prints the configuration document page by page.  Pages are laid out on
// the paper alone: nothing of the window's size reaches them.
class DocumentPrinter {
public:
    DocumentPrinter(const CQuillonDoc& doc, const IViewOptions& options, UnitMapping mapping);

    // The print command: every page with its footer; the list as many
    // entries a page as fit, the converted document as ConvertedPages flows
    // it.  Returns the pages drawn.
    int PrintDocument(IPageTarget& target) const;
    // The standard print command: every page shows the pane's layout at the
    // paper's width, from its top, without a footer.
    int PrintPaneLayout(IPageTarget& target) const;

private:
    int ListPageCount() const;

    const CQuillonDoc& doc_;
    const IViewOptions& options_;
    UnitMapping mapping_;
};

}  // namespace quillon
