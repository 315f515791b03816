#pragma once
#include <QAbstractScrollArea>

class QPrinter;

namespace quillon {

class CQuillonDoc;
class IPrompt;
class IViewOptions;

inline constexpr const char* kNothingToPrintText = "当前没有可打印的配置信息，请先配置条码信息！";
// Print jobs are named after the program and the document it prints.
inline constexpr const char* kPrintJobName = "Quillon - 扫描枪条码配置文档";
inline constexpr const char* kPrintNotStartedText =
    "无法开始打印：打印机或输出文件不可用。请检查打印机，或在打印对话框中选择打印到PDF文件。";

// The upper right pane: the configuration document (entry list or converted
// symbol) in the configuration view, the decoded output in the monitor view.
// It keeps no copy of the document; every paint reads it anew and sizes the
// scroll range from what it drew.  Sizes are in view units, 1/96 inch.
class CRightView : public QAbstractScrollArea {
    Q_OBJECT
public:
    CRightView(CQuillonDoc& doc, const IViewOptions& options, QWidget* parent = nullptr);

    // The pane's scroll geometry from its client size; on a clear and a resize.
    void ResetGeometry();
    // Applies the document's geometry as scroll sizes.
    void ApplyScrollSizes();

    // The print command: refuses an empty document, shows Qt's print dialog
    // for printer (the window's, so the print setup applies; create it with
    // QPrinter::HighResolution) and prints every page with its footer.  false
    // when nothing was printed; a print that cannot start is reported.
    bool PrintDocument(IPrompt& prompt, QPrinter& printer);
    // The standard print command: the pane's layout on every page, no footer.
    bool PrintStandard(IPrompt& prompt, QPrinter& printer);

    // Client width in view units.
    int ClientWidthUnits() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // Qt's print dialog: all pages, no range, no selection; a PDF file
    // stands in for a printer.
    bool AskForPrinter(QPrinter& printer);
    // Reports a print whose device could not be opened (pages < 0).
    static bool Printed(IPrompt& prompt, int pages);
    void OnVerticalAction(int action);
    double UnitScale() const;
    int TotalWidth() const;

    CQuillonDoc& doc_;
    const IViewOptions& options_;
    int contentWidth_ = 0;  // what the last paint needed, in view units
};

}  // namespace quillon
