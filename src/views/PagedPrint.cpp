#include "views/PagedPrint.h"

#include "document/QuillonDoc.h"
#include "views/DocumentPrinter.h"
#include "views/QtPainter.h"

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

namespace quillon {

namespace {

class PagedDeviceTarget : public IPageTarget {
public:
    PagedDeviceTarget(QPagedPaintDevice& device, QPainter& painter) : device_(device), adapter_(painter) {}

    IPainter& Painter() override { return adapter_; }
    bool NewPage() override { return device_.newPage(); }

private:
    QPagedPaintDevice& device_;
    QtPainter adapter_;
};

// The part of the sheet that the printer reaches (all of it for a PDF), in
// device pixels from the painter's origin.
QRect PrintableArea(const QPageLayout& layout, int dpi)
{
    QPageLayout reach = layout;
    reach.setMode(QPageLayout::StandardMode);
    reach.setMargins(layout.minimumMargins());
    const QRect paint = layout.paintRectPixels(dpi);
    return reach.paintRectPixels(dpi).intersected(paint).translated(-paint.topLeft());
}

template <typename Print>
int RunPrint(QPagedPaintDevice& device, const CQuillonDoc& doc, const IViewOptions& options, Print print)
{
    const QRect area = PrintableArea(device.pageLayout(), device.logicalDpiX());
    const UnitMapping mapping = MapUnits(area.width(), area.height(), device.logicalDpiX(), device.logicalDpiY());
    QPainter painter;
    if (!painter.begin(&device))
        return -1;
    painter.translate(area.topLeft());
    painter.scale(mapping.scaleX, mapping.scaleY);
    PagedDeviceTarget target(device, painter);
    const DocumentPrinter printer(doc, options, mapping);
    const int pages = print(printer, target);
    painter.end();
    return pages;
}

}  // namespace

int PrintWithFooters(QPagedPaintDevice& device, const CQuillonDoc& doc, const IViewOptions& options)
{
    return RunPrint(device, doc, options,
                    [](const DocumentPrinter& printer, IPageTarget& target) { return printer.PrintDocument(target); });
}

int PrintPaneLayout(QPagedPaintDevice& device, const CQuillonDoc& doc, const IViewOptions& options)
{
    return RunPrint(device, doc, options, [](const DocumentPrinter& printer, IPageTarget& target) {
        return printer.PrintPaneLayout(target);
    });
}

}  // namespace quillon
