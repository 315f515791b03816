#include "views/SheetWriter.h"

#include "base/QtText.h"

#include "document/QuillonDoc.h"
#include "views/DocumentLayout.h"
#include "views/PagedPrint.h"
#include "views/PaneContent.h"
#include "views/QtPainter.h"

#include <QFontMetrics>
#include <QIODevice>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace quillon {

namespace {

// Room kept free at the right edge of the image: the header's rule ends there.
constexpr int kRightMargin = 10;

// Draws nothing; measures with the fonts QtPainter draws with and keeps the
// right edge of everything the layout places.
class ExtentPainter : public IPainter {
public:
    void SetFont(FontRole role) override { font_ = QtPainter::FontFor(role); }
    void SetTextColour(Rgb) override {}
    void Text(int x, int, const std::string& text) override
    {
        Extend(x + QFontMetrics(font_).horizontalAdvance(QString::fromStdString(text)));
    }
    void Line(int x1, int, int x2, int) override { Extend(std::max(x1, x2)); }
    void FillRect(int, int, int rightEdge, int, Rgb) override { Extend(rightEdge); }
    void Cells(int x, int, const std::uint8_t*, int columns, int, int cellWidth, int, Rgb) override
    {
        Extend(x + columns * cellWidth);
    }
    int AverageCharWidth() override { return QFontMetrics(font_).averageCharWidth(); }

    int right = 0;

private:
    void Extend(int x) { right = std::max(right, x); }

    QFont font_ = QtPainter::FontFor(FontRole::Body);
};

}  // namespace

SheetWriter::SheetWriter(CQuillonDoc& doc, const IViewOptions& options, int clientWidth)
    : doc_(doc),
      options_(options),
      clientWidth_(clientWidth)
{
}

void SheetWriter::FitToContent()
{
    ScrollGeometry& geometry = doc_.upperGeometry;
    geometry.totalWidth = geometry.lineWidth = geometry.pageWidth = clientWidth_ - 20;
    ExtentPainter measure;
    const PaneBottom content = DrawPane(measure, doc_, options_, clientWidth_);
    geometry.totalHeight = FollowContent(geometry.totalHeight, content).totalHeight;
}

int SheetWriter::PaneImageWidth() const
{
    // The title sits at four fifths of the width, so a narrow pane cuts it
    // off: from five times its width on it ends inside.  Then make room for
    // whatever else reaches further.
    const int title = QFontMetrics(QtPainter::FontFor(FontRole::Body)).horizontalAdvance(Tr(kDocumentTitle));
    const int width = std::max(clientWidth_, 5 * (title + kRightMargin));
    ExtentPainter measure;
    DrawPane(measure, doc_, options_, width);
    return std::max(width, measure.right + kRightMargin);
}

int SheetWriter::WritePdf(QIODevice& out)
{
    // The PDF engine draws into a device it cannot open without a word.
    if (!out.isOpen() && !out.open(QIODevice::WriteOnly))
        return -1;
    QPdfWriter writer(&out);
    writer.setResolution(kPdfResolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    writer.setTitle(Tr(kDocumentTitle));
    writer.setCreator(QStringLiteral("Quillon"));
    return PrintWithFooters(writer, doc_, options_);
}

QImage SheetWriter::RenderPane(int dpi)
{
    const int width = PaneImageWidth();
    ExtentPainter measure;
    const PaneBottom content = DrawPane(measure, doc_, options_, width);
    const int height = FollowContent(doc_.upperGeometry.totalHeight, content).totalHeight;
    const double scale = static_cast<double>(dpi) / kPaneResolution;
    QImage image(static_cast<int>(width * scale + 0.5), static_cast<int>(height * scale + 0.5), QImage::Format_RGB32);
    constexpr double kInchesPerMetre = 1 / 0.0254;
    image.setDotsPerMeterX(static_cast<int>(dpi * kInchesPerMetre + 0.5));
    image.setDotsPerMeterY(static_cast<int>(dpi * kInchesPerMetre + 0.5));
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(scale, scale);
    QtPainter adapter(painter);
    DrawPane(adapter, doc_, options_, width);
    return image;
}

bool SheetWriter::WritePng(QIODevice& out, int dpi)
{
    return RenderPane(dpi).save(&out, "PNG");
}

}  // namespace quillon
