#include "views/SheetWriter.h"

#include "document/QuillonDoc.h"
#include "views/PagedPrint.h"
#include "views/PaneContent.h"
#include "views/QtPainter.h"

#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace quillon {

SheetWriter::SheetWriter(CQuillonDoc& doc, const IViewOptions& options, int clientWidth)
    : doc_(doc), options_(options), clientWidth_(clientWidth)
{
}

void SheetWriter::FitToContent()
{
    ScrollGeometry& geometry = doc_.upperGeometry;
    geometry.totalWidth = geometry.lineWidth = geometry.pageWidth = clientWidth_ - 20;
    // Only the bottom edge is wanted here; a one-pixel image is enough to
    // give the layout real font metrics.
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter painter(&scratch);
    QtPainter adapter(painter);
    const PaneBottom content = DrawPane(adapter, doc_, options_, clientWidth_);
    geometry.totalHeight = FollowContent(geometry.totalHeight, content).totalHeight;
}

int SheetWriter::WritePdf(const QString& path)
{
    QPdfWriter writer(path);
    writer.setResolution(kPdfResolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    writer.setTitle(QStringLiteral("扫描枪条码配置文档"));
    writer.setCreator(QStringLiteral("Quillon"));
    return PrintWithFooters(writer, doc_, options_, clientWidth_);
}

QImage SheetWriter::RenderPane()
{
    QImage image(clientWidth_, doc_.upperGeometry.totalHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QtPainter adapter(painter);
    DrawPane(adapter, doc_, options_, clientWidth_);
    return image;
}

bool SheetWriter::WritePng(const QString& path)
{
    return RenderPane().save(path, "PNG");
}

}  // namespace quillon
