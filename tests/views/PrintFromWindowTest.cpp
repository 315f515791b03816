#include "support/MainWindowHarness.h"
#include "support/PageImages.h"
#include "views/RightView.h"

#include <QApplication>
#include <QCheckBox>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace quillon {
namespace {

using test::PdfWords;
using test::Rasterise;

// On A4 every page holds twelve entries, whatever the window.
constexpr int kEntriesPerA4Page = 12;

std::string Command(int i)
{
    char text[16];
    std::snprintf(text, sizeof text, "<AW>61%04X", i);
    return text;
}

std::string Caption(int i)
{
    return "设置" + std::to_string(i) + "条";
}

// The real main window, printing through its document pane as the print
// command does, into a PDF on A4.
class PrintingWindow : public test::MainWindowHarness {
public:
    explicit PrintingWindow(int width) { EXPECT_TRUE(Open(Parts(), {width, 700})); }

    // Entries as the ADD button adds them, shown in the pane.
    void Add(int count)
    {
        for (int i = 0; i < count; ++i)
            doc.AddEntry(Command(i), Caption(i));
        window->RedrawDocumentPane();
        QApplication::processEvents();
    }

    // The conversion command with "生成QR配置码" as given.
    void Convert(bool qr)
    {
        window->findChild<QCheckBox*>("qrCode1081")->setChecked(qr);
        window->Execute(CommandId::ConvertDocument);
        QApplication::processEvents();
    }

    // Prints with the print dialog answered OK for a printer that writes
    // PDF on A4 (the dialog offers no file of its own); the pages as grey
    // images.
    std::vector<QImage> Print(const std::filesystem::path& pdf)
    {
        EXPECT_TRUE(PrintInto(pdf));
        return Rasterise(pdf, kDpi);
    }

    bool PrintInto(const std::filesystem::path& pdf)
    {
        QPrinter printer(QPrinter::HighResolution);
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            QObject::connect(dialog, &QDialog::accepted, [&] {
                printer.setOutputFormat(QPrinter::PdfFormat);
                printer.setOutputFileName(QString::fromStdString(pdf.string()));
                printer.setPageSize(QPageSize(QPageSize::A4));
            });
            dialog->accept();
        });
        return window->findChild<CRightView*>()->PrintDocument(prompt, printer);
    }

    static constexpr int kDpi = 300;
    static constexpr double kPixelsPerUnit = kDpi / 96.0;
};

// Every word of every page lies on that page, each page carries the title and
// its own footer, and the pages hold every text in order.
void ExpectWholePages(const std::filesystem::path& pdf, std::size_t pageCount)
{
    const std::vector<test::PdfPage> pages = PdfWords(pdf);
    ASSERT_EQ(pages.size(), pageCount);
    for (std::size_t n = 0; n < pages.size(); ++n) {
        SCOPED_TRACE(n + 1);
        for (const test::PdfWord& word : pages[n].words) {
            EXPECT_GE(word.left, 0.0) << word.text;
            EXPECT_GE(word.top, 0.0) << word.text;
            EXPECT_LE(word.right, pages[n].width) << word.text;
            EXPECT_LE(word.bottom, pages[n].height) << word.text;
        }
        const std::string text = pages[n].Text();
        EXPECT_NE(text.find("扫描枪条码配置文档"), std::string::npos);
        const std::string footer = "第" + std::to_string(n + 1) + "页/共" + std::to_string(pageCount) + "页";
        EXPECT_NE(text.find(footer), std::string::npos) << text;
    }
}

TEST(PrintFromWindowTest, AFileThatCannotBeWrittenIsToldAndNothingIsPrinted)
{
    test::TempDir dir;
    const std::filesystem::path pdf = dir.Path() / "no such folder" / "sheet.pdf";
    PrintingWindow w(1200);
    w.Add(2);
    EXPECT_FALSE(w.PrintInto(pdf));
    EXPECT_EQ(w.prompt.Texts(), std::vector<std::string>{kPrintNotStartedText});
    EXPECT_FALSE(std::filesystem::exists(pdf.parent_path()));
}

TEST(PrintFromWindowTest, PagesAreTheSameFromANarrowAndAWideWindow)
{
    constexpr int kEntries = 2 * kEntriesPerA4Page + 2;
    int paneWidths[2] = {};
    int i = 0;
    for (const int width : {600, 1600}) {
        SCOPED_TRACE(width);
        PrintingWindow w(width);
        w.Add(kEntries);
        paneWidths[i++] = w.window->findChild<CRightView*>()->ClientWidthUnits();
        const test::TempDir dir;
        const auto pdf = dir.Path() / "list.pdf";
        const std::vector<QImage> pages = w.Print(pdf);
        ASSERT_EQ(pages.size(), 3u);
        for (int e = 0; e < kEntries; ++e) {
            const CodeInfo& entry = w.doc.entries[static_cast<std::size_t>(e)];
            SCOPED_TRACE(entry.codeText);
            const int barsTop = 85 + 80 * (e % kEntriesPerA4Page);
            EXPECT_EQ(test::DecodeArea(pages[static_cast<std::size_t>(e / kEntriesPerA4Page)],
                                       PrintingWindow::kPixelsPerUnit, entry.symbolX - 25, barsTop - 3,
                                       entry.symbolX + 25 + entry.moduleCount, barsTop + 39, false,
                                       ZXing::BarcodeFormat::Code128),
                      std::vector<std::string>{entry.codeText});
        }
        ExpectWholePages(pdf, 3);
    }
    EXPECT_GT(paneWidths[1], paneWidths[0] + 500) << "the windows really differ";
}

struct ConvertedCase {
    int entries;
    bool qr;
    bool symbol;  // false: too much for the symbol, the operator is told
};

class ConvertedPrintTest : public ::testing::TestWithParam<ConvertedCase> {};

TEST_P(ConvertedPrintTest, TheSymbolHasAPlaceOfItsOwnAndEveryCaptionIsPrinted)
{
    const ConvertedCase c = GetParam();
    PrintingWindow w(1200);
    w.Add(c.entries);
    w.Convert(c.qr);
    ASSERT_EQ(w.doc.displayMode, CQuillonDoc::kShowConversion);
    const test::TempDir dir;
    const auto pdf = dir.Path() / "converted.pdf";
    const std::vector<QImage> pages = w.Print(pdf);
    ASSERT_FALSE(pages.empty());

    std::string all;
    for (int i = 0; i < c.entries; ++i)
        all += Command(i);
    std::vector<std::string> symbols;
    for (const QImage& page : pages) {
        const auto found =
            test::DecodeGrey(page.constBits(), page.width(), page.height(), static_cast<int>(page.bytesPerLine()),
                             c.qr ? ZXing::BarcodeFormat::QRCode : ZXing::BarcodeFormat::PDF417);
        symbols.insert(symbols.end(), found.begin(), found.end());
    }
    std::string text;
    for (const test::PdfPage& page : PdfWords(pdf))
        text += page.Text();
    if (c.symbol) {
        EXPECT_EQ(symbols, std::vector<std::string>{all});
        EXPECT_TRUE(w.prompt.shown.empty());
    } else {
        EXPECT_TRUE(symbols.empty());
        EXPECT_EQ(w.prompt.Texts(), std::vector<std::string>{kConversionTooLargeText});
        EXPECT_NE(text.find(kConversionTooLargeNote), std::string::npos);
    }
    // Every caption once, in order, across the pages.
    std::size_t at = 0;
    for (int i = 0; i < c.entries; ++i) {
        const std::string caption = Caption(i);
        at = text.find(caption, at);
        ASSERT_NE(at, std::string::npos) << caption;
    }
    ExpectWholePages(pdf, pages.size());
}

INSTANTIATE_TEST_SUITE_P(Sizes, ConvertedPrintTest,
                         // PDF417 holds about 1,400 characters of these, QR Code
                         // about 2,900.
                         ::testing::Values(ConvertedCase{60, false, true}, ConvertedCase{150, true, true},
                                           ConvertedCase{150, false, false}),
                         [](const auto& row) {
                             return std::to_string(row.param.entries) + (row.param.qr ? "QrCode" : "Pdf417");
                         });

}  // namespace
}  // namespace quillon
