#pragma once
class QImage;
class QIODevice;

namespace quillon {

class CQuillonDoc;
class IViewOptions;

// Writes the configuration document without a window: as a PDF on A4 with
// exactly the pages the print command produces (laid out on the paper, not on
// the pane), or as a PNG of the document pane.  The pane is taken to be
// clientWidth pixels wide at 96 dpi, so one unit is one pixel in the image;
// the image widens the pane where its content would otherwise run past the
// right edge.
class SheetWriter {
public:
    static constexpr int kDefaultClientWidth = 620;
    static constexpr int kPdfResolution = 600;
    // The pane's own resolution: one unit, one pixel.
    static constexpr int kPaneResolution = 96;

    SheetWriter(CQuillonDoc& doc, const IViewOptions& options, int clientWidth = kDefaultClientWidth);

    // Sizes the document's pane geometry to the pane's width and its content,
    // as the pane does when it shows the document.
    void FitToContent();

    // Into a device open for writing, so that the caller decides how the
    // bytes reach a file.  Pages written, or -1 when they could not be.
    int WritePdf(QIODevice& out);
    // The pane at `dpi` dots per inch: each unit dpi/96 pixels, so that a
    // decoder reading the image at its own size finds modules wider than one
    // pixel.
    bool WritePng(QIODevice& out, int dpi = kPaneResolution);
    QImage RenderPane(int dpi = kPaneResolution);

    // Width of the pane image: at least clientWidth, and wide enough that the
    // header's title and every caption, symbol and command string end 10
    // units inside it.
    int PaneImageWidth() const;

private:
    CQuillonDoc& doc_;
    const IViewOptions& options_;
    int clientWidth_;
};

}  // namespace quillon
