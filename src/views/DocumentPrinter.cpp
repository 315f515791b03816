#include "views/DocumentPrinter.h"

#include "document/QuillonDoc.h"
#include "views/ConvertedPages.h"
#include "views/DocumentLayout.h"
#include "views/PaneContent.h"
#include "views/ViewOptions.h"

#include <algorithm>
#include <optional>

namespace quillon {

namespace {

constexpr int kFooterLine = 20;

}  // namespace

UnitMapping MapUnits(int printableWidthPx, int printableHeightPx, int dpiX, int dpiY)
{
    UnitMapping mapping;
    mapping.scaleX = std::max(1, dpiX) / 96.0;
    mapping.scaleY = std::max(1, dpiY) / 96.0;
    mapping.W = std::max(1, static_cast<int>(printableWidthPx / mapping.scaleX));
    mapping.P = std::max(1, static_cast<int>(printableHeightPx / mapping.scaleY) - kFooterLine);
    return mapping;
}

DocumentPrinter::DocumentPrinter(const CQuillonDoc& doc, const IViewOptions& options, UnitMapping mapping)
    : doc_(doc),
      options_(options),
      mapping_(mapping)
{
}

int DocumentPrinter::ListPageCount() const
{
    const int perPage = std::max(1, DocumentLayout::EntriesPerPage(mapping_.P));
    const int entries = static_cast<int>(doc_.entries.size());
    return std::max(1, (entries + perPage - 1) / perPage);
}

int DocumentPrinter::PrintDocument(IPageTarget& target) const
{
    const DocumentLayout layout(doc_, options_.InvertColours());
    std::optional<ConvertedPages> converted;
    if (doc_.displayMode != CQuillonDoc::kShowList) {
        IPainter& measure = target.Painter();
        measure.SetFont(FontRole::Body);
        converted.emplace(doc_, mapping_.W, mapping_.P, measure.AverageCharWidth());
    }
    const int pageCount = converted ? converted->Count() : ListPageCount();
    std::size_t cursor = 0;
    int drawn = 0;
    for (int page = 1; page <= pageCount; ++page) {
        if (page > 1 && !target.NewPage())
            break;
        IPainter& painter = target.Painter();
        if (converted)
            layout.ConvertedPage(painter, mapping_.W, converted->Page(page - 1));
        else
            cursor = layout.ListPage(painter, mapping_.W, mapping_.P, cursor);
        layout.Footer(painter, mapping_.W, mapping_.P, page, pageCount);
        ++drawn;
    }
    return drawn;
}

int DocumentPrinter::PrintPaneLayout(IPageTarget& target) const
{
    const int pageCount = std::max(1, (doc_.upperGeometry.totalHeight + mapping_.P - 1) / mapping_.P);
    int drawn = 0;
    for (int page = 1; page <= pageCount; ++page) {
        if (page > 1 && !target.NewPage())
            break;
        DrawPane(target.Painter(), doc_, options_, mapping_.W);
        ++drawn;
    }
    return drawn;
}

}  // namespace quillon
