#include "views/PagedPrint.h"

#include "document/QuillonDoc.h"
#include "views/DocumentPrinter.h"
#include "views/QtPainter.h"

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

template <typename Print>
int RunPrint(QPagedPaintDevice& device, const CQuillonDoc& doc, const IViewOptions& options, int clientWidth,
             Print print)
{
    const QRect page = device.pageLayout().fullRectPixels(device.logicalDpiX());
    const UnitMapping mapping = MapUnits(doc.upperGeometry.totalWidth, page.width(), page.height(),
                                         device.logicalDpiX(), device.logicalDpiY());
    QPainter painter;
    if (!painter.begin(&device))
        return -1;
    painter.scale(mapping.scaleX, mapping.scaleY);
    PagedDeviceTarget target(device, painter);
    const DocumentPrinter printer(doc, options, mapping, clientWidth);
    const int pages = print(printer, target);
    painter.end();
    return pages;
}

}  // namespace

int PrintWithFooters(QPagedPaintDevice& device, const CQuillonDoc& doc, const IViewOptions& options,
                     int clientWidth)
{
    return RunPrint(device, doc, options, clientWidth,
                    [](const DocumentPrinter& printer, IPageTarget& target) { return printer.PrintDocument(target); });
}

int PrintPaneLayout(QPagedPaintDevice& device, const CQuillonDoc& doc, const IViewOptions& options,
                    int clientWidth)
{
    return RunPrint(device, doc, options, clientWidth, [](const DocumentPrinter& printer, IPageTarget& target) {
        return printer.PrintPaneLayout(target);
    });
}

}  // namespace quillon
