#include "views/DocumentPrinter.h"

#include "document/QuillonDoc.h"
#include "views/DocumentLayout.h"
#include "views/PaneContent.h"
#include "views/ViewOptions.h"

#include <algorithm>

namespace quillon {

UnitMapping MapUnits(int totalWidth, int pageWidthPx, int pageHeightPx, int dpiX, int dpiY)
{
    UnitMapping mapping;
    mapping.W = std::max(1, totalWidth);
    // A page narrower in pixels than W units would divide by zero.
    const int pixelsPerUnit = std::max(1, pageWidthPx / mapping.W);
    mapping.P = std::max(1, pageHeightPx / pixelsPerUnit);
    const int viewportX = dpiX * mapping.W / 96;
    const int viewportY = mapping.P * dpiY / 96;
    mapping.scaleX = static_cast<double>(viewportX) / mapping.W;
    mapping.scaleY = static_cast<double>(viewportY) / mapping.P;
    return mapping;
}

DocumentPrinter::DocumentPrinter(const CQuillonDoc& doc, const IViewOptions& options, UnitMapping mapping,
                                 int clientWidth)
    : doc_(doc), options_(options), mapping_(mapping), clientWidth_(clientWidth)
{
}

int DocumentPrinter::HeightPages() const
{
    return std::max(1, (doc_.upperGeometry.totalHeight + mapping_.P - 1) / mapping_.P);
}

int DocumentPrinter::PageCount() const
{
    const int P = mapping_.P;
    int pages = HeightPages();
    // The pane's height grows 80 units an entry while a page holds fewer
    // entries than its height suggests; without this the last entries of a
    // long list would never reach paper.
    const int perPage = DocumentLayout::EntriesPerPage(P);
    if (doc_.displayMode == CQuillonDoc::kShowList && perPage > 0) {
        const int entries = static_cast<int>(doc_.entries.size());
        pages = std::max(pages, (entries + perPage - 1) / perPage);
    }
    return pages;
}

int DocumentPrinter::PrintDocument(IPageTarget& target) const
{
    const DocumentLayout layout(doc_, options_.InvertColours());
    const int pageCount = PageCount();
    std::size_t cursor = 0;
    int drawn = 0;
    for (int page = 1; page <= pageCount; ++page) {
        if (page > 1 && !target.NewPage())
            break;
        IPainter& painter = target.Painter();
        if (doc_.displayMode == CQuillonDoc::kShowList)
            cursor = layout.ListPage(painter, mapping_.W, mapping_.P, cursor);
        else
            layout.ConvertedPage(painter, mapping_.W, clientWidth_);
        layout.Footer(painter, mapping_.W, mapping_.P, page, pageCount);
        ++drawn;
    }
    return drawn;
}

int DocumentPrinter::PrintPaneLayout(IPageTarget& target) const
{
    const int pageCount = HeightPages();
    int drawn = 0;
    for (int page = 1; page <= pageCount; ++page) {
        if (page > 1 && !target.NewPage())
            break;
        DrawPane(target.Painter(), doc_, options_, clientWidth_);
        ++drawn;
    }
    return drawn;
}

}  // namespace quillon
