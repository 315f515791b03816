#pragma once
#include "views/IPainter.h"

namespace quillon {

class CQuillonDoc;
class IViewOptions;

// The printing mapping: W units across the page and P units down it, where
// one unit is 1/96 inch; scale is device pixels per unit.
struct UnitMapping {
    int W = 0;
    int P = 0;
    double scaleX = 1.0;
    double scaleY = 1.0;
};

UnitMapping MapUnits(int totalWidth, int pageWidthPx, int pageHeightPx, int dpiX, int dpiY);

// A paged device: a painter for the current page and the step to the next.
class IPageTarget {
public:
    virtual ~IPageTarget() = default;
    virtual IPainter& Painter() = 0;
    // Ends the current page and starts the next; false when that failed.
    virtual bool NewPage() = 0;
};

// Prints the configuration document page by page.
class DocumentPrinter {
public:
    DocumentPrinter(const CQuillonDoc& doc, const IViewOptions& options, UnitMapping mapping, int clientWidth);

    // Pages the document takes: its total height over P, rounded up, and for
    // the list never fewer than its entries need.
    int PageCount() const;

    // The print command: every page with its footer.  Returns the pages drawn.
    int PrintDocument(IPageTarget& target) const;
    // The standard print command: every page shows the pane's layout as on
    // screen, from its top, without a footer.
    int PrintPaneLayout(IPageTarget& target) const;

private:
    // The total height of the pane over P, rounded up.
    int HeightPages() const;

    const CQuillonDoc& doc_;
    const IViewOptions& options_;
    UnitMapping mapping_;
    int clientWidth_;
};

}  // namespace quillon
