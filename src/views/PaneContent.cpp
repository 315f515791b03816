#include "views/PaneContent.h"

#include "document/QuillonDoc.h"
#include "views/DecodedLayout.h"
#include "views/DocumentLayout.h"
#include "views/ViewOptions.h"

#include <algorithm>

namespace quillon {

PaneBottom DrawPane(IPainter& painter, const CQuillonDoc& doc, const IViewOptions& options, int clientWidth)
{
    if (options.CurrentView() == ViewMode::Configuration && options.GenerateBarcodes()) {
        const DocumentLayout layout(doc, options.InvertColours());
        if (doc.displayMode == CQuillonDoc::kShowList) {
            const int bottom = layout.List(painter, clientWidth);
            return doc.entries.empty() ? PaneBottom{} : PaneBottom{PaneBottom::Fit, bottom};
        }
        return {PaneBottom::Fit, layout.Converted(painter, clientWidth)};
    }
    if (options.CurrentView() == ViewMode::Monitor && options.DecodedOutput())
        return {PaneBottom::GrowOnly, DecodedLayout(doc.decodedLines).Draw(painter, clientWidth)};
    return {};
}

int PaneWidth(IPainter& painter, const CQuillonDoc& doc, const IViewOptions& options, int clientWidth)
{
    if (options.CurrentView() != ViewMode::Configuration || !options.GenerateBarcodes())
        return clientWidth;
    painter.SetFont(FontRole::Body);
    return DocumentLayout(doc, options.InvertColours()).ScreenWidth(clientWidth, painter.AverageCharWidth());
}

HeightChange FollowContent(int totalHeight, const PaneBottom& content)
{
    if (content.rule == PaneBottom::None)
        return {totalHeight, false};
    if (content.bottom > totalHeight)
        return {content.bottom, true};
    if (content.rule == PaneBottom::GrowOnly)
        return {totalHeight, false};
    return {std::max(content.bottom, 300), false};
}

}  // namespace quillon
