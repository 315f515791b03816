#include "document/QuillonDoc.h"
#include "support/BarcodeDecoder.h"
#include "support/PageImages.h"
#include "support/TempDir.h"
#include "views/PagedPrint.h"
#include "views/SheetWriter.h"
#include "views/ViewOptions.h"

#include <QFile>
#include <QImage>
#include <QPageSize>
#include <QPrinter>

#include <gtest/gtest.h>

#include <filesystem>

namespace quillon {
namespace {

// The sheet as a PDF file at the path, as the command line writes one.
int WritePdfFile(SheetWriter& writer, const std::string& path)
{
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::WriteOnly) ? writer.WritePdf(file) : -1;
}

using test::DecodeArea;
using test::PdfText;
using test::Rasterise;

std::vector<std::string> DecodeEntryBars(const QImage& page, double pixelsPerUnit, const CodeInfo& entry, int barsTop,
                                         bool inverted)
{
    // Inverted bars are decoded inside their black background only.
    const int inset = inverted ? 2 : -10;
    return DecodeArea(page, pixelsPerUnit, entry.symbolX - 15 + inset, barsTop - 4 + 1,
                      entry.symbolX + 15 + entry.moduleCount - inset, barsTop + 36 + 3, inverted,
                      ZXing::BarcodeFormat::Code128);
}

const char* const kCommands[] = {
    "<AW>31860000", "<AC>318600024142", "3186000141",         "<AW>318601F4", "<AC>318600020A0D", "0710",
    "<AW>50420123", "CUSTOM-42",        "<AW>31C40003414243", "<AW>31810005", "<AC>3183FFFF",     "9901",
    "<AC>31860001",
};

CQuillonDoc SampleDocument()
{
    CQuillonDoc doc;
    int i = 0;
    for (const char* command : kCommands)
        doc.AddEntry(command, "设置 " + std::to_string(i++));
    return doc;
}

class SheetRoundTripTest : public ::testing::TestWithParam<bool> {};

TEST_P(SheetRoundTripTest, EveryEntryOfThePrintedPagesAndThePaneImageScans)
{
    const bool inverted = GetParam();
    CQuillonDoc doc = SampleDocument();
    ViewOptionValues options;
    options.invertColours = inverted;
    SheetWriter writer(doc, options);
    writer.FitToContent();
    const test::TempDir dir;
    const auto pdf = dir.Path() / "sheet.pdf";
    ASSERT_EQ(WritePdfFile(writer, pdf.string()), 2) << "twelve entries an A4 page, thirteen entries";
    const std::vector<QImage> pages = Rasterise(pdf, 300);
    ASSERT_EQ(pages.size(), 2u);
    const QImage image = writer.RenderPane().convertToFormat(QImage::Format_Grayscale8);
    EXPECT_EQ(image.height(), doc.entries.back().codeY + 155);
    for (std::size_t i = 0; i < doc.entries.size(); ++i) {
        const CodeInfo& entry = doc.entries[i];
        SCOPED_TRACE(entry.codeText);
        const int k = static_cast<int>(i % 12);
        EXPECT_EQ(DecodeEntryBars(pages[i / 12], 300 / 96.0, entry, 85 + 80 * k, inverted),
                  std::vector<std::string>{entry.codeText});
        EXPECT_EQ(DecodeEntryBars(image, 1.0, entry, entry.symbolY + 50, inverted),
                  std::vector<std::string>{entry.codeText});
    }
    const std::string text = PdfText(pdf);
    for (const char* expected : {"第1页/共2页", "第2页/共2页", "扫描枪条码配置文档", "CUSTOM-42"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
}

TEST_P(SheetRoundTripTest, ConvertedSymbolCarriesEveryCommandString)
{
    const bool inverted = GetParam();
    ViewOptionValues options;
    options.invertColours = inverted;
    for (const bool qr : {true, false}) {
        SCOPED_TRACE(qr ? "QR Code" : "PDF417");
        CQuillonDoc doc;
        std::string all;
        for (int i = 0; i < 6; ++i) {
            doc.AddEntry(kCommands[i], "设置");
            all += kCommands[i];
        }
        ASSERT_TRUE(doc.ConversionCommand(qr));
        SheetWriter writer(doc, options);
        writer.FitToContent();
        const test::TempDir dir;
        const auto pdf = dir.Path() / "converted.pdf";
        ASSERT_EQ(WritePdfFile(writer, pdf.string()), 1);
        const std::vector<QImage> pages = Rasterise(pdf, 300);
        ASSERT_EQ(pages.size(), 1u);
        // The symbol's area (inverted: inside its black background only),
        // its top T below six captions: on paper 65 and a margin of 20, on
        // screen 80.
        const auto decode = [&](const QImage& image, double pixelsPerUnit, int T) {
            return DecodeArea(image, pixelsPerUnit, inverted ? 47 : 30, T - (inverted ? 4 : 20),
                              doc.convWidth + (inverted ? 73 : 90), T + doc.convHeight + (inverted ? 5 : 20), inverted,
                              qr ? ZXing::BarcodeFormat::QRCode : ZXing::BarcodeFormat::PDF417);
        };
        EXPECT_EQ(decode(pages[0], 300 / 96.0, 65 + 20 * 6 + 20), std::vector<std::string>{all});
        EXPECT_EQ(decode(writer.RenderPane().convertToFormat(QImage::Format_Grayscale8), 1.0, 80 + 20 * 6),
                  std::vector<std::string>{all});
    }
}

INSTANTIATE_TEST_SUITE_P(Colours, SheetRoundTripTest, ::testing::Values(false, true),
                         [](const auto& row) { return row.param ? "Inverted" : "Plain"; });

// Whether any pixel darker than mid-grey lies in the columns [left, right) of
// the rows [top, bottom).
bool DarkIn(const QImage& grey, int left, int top, int right, int bottom)
{
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (qGray(grey.pixel(x, y)) < 128)
                return true;
    return false;
}

TEST(SheetWriterTest, OneEntryGivesPageOneOfOneAndThePaneImageHoldsEverything)
{
    CQuillonDoc doc;
    doc.AddEntry("<AW>31860000", "单个条目");
    const ViewOptionValues options;
    SheetWriter writer(doc, options);
    writer.FitToContent();
    const test::TempDir dir;
    const auto pdf = dir.Path() / "one.pdf";
    ASSERT_EQ(WritePdfFile(writer, pdf.string()), 1);
    const std::string text = PdfText(pdf);
    EXPECT_NE(text.find("第1页/共1页"), std::string::npos) << text;
    EXPECT_EQ(text.find("第2页"), std::string::npos);
    QFile pdfNowhere(QStringLiteral("/nonexistent-dir/x.pdf"));
    EXPECT_EQ(writer.WritePdf(pdfNowhere), -1);
    QFile pngNowhere(QStringLiteral("/nonexistent-dir/x.png"));
    EXPECT_FALSE(writer.WritePng(pngNowhere));

    // The title at four fifths of the width and the long caption both end
    // inside the image: nothing reaches its last ten columns.
    for (const bool longCaption : {false, true}) {
        SCOPED_TRACE(longCaption);
        doc.entries[0].caption = longCaption ? "单个条目" + std::string(120, 'W') : "短";
        const QImage image = writer.RenderPane().convertToFormat(QImage::Format_Grayscale8);
        const int w = image.width();
        EXPECT_GE(w, SheetWriter::kDefaultClientWidth);
        EXPECT_TRUE(DarkIn(image, 4 * w / 5, 30, w, 50)) << "the title is drawn";
        EXPECT_FALSE(DarkIn(image, w - 9, 0, w, image.height())) << "nothing runs off the right edge";
        EXPECT_EQ(DarkIn(image, 700, 65, w, 85), longCaption);
    }
}

TEST(PagedPrintTest, APrinterGetsTheSamePagesAsThePdfSheet)
{
    CQuillonDoc doc = SampleDocument();
    const ViewOptionValues options;
    SheetWriter(doc, options).FitToContent();
    const test::TempDir dir;
    const auto pdf = dir.Path() / "printer.pdf";
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf.string()));
    printer.setFullPage(true);
    printer.setPageSize(QPageSize(QPageSize::Letter));
    // Letter at 600 dpi: 816 x 1056 units, P = 1036, eleven entries a page.
    printer.setResolution(600);
    ASSERT_EQ(PrintWithFooters(printer, doc, options), 2);
    const std::vector<QImage> pages = Rasterise(pdf, 300);
    ASSERT_EQ(pages.size(), 2u);
    for (std::size_t i = 0; i < doc.entries.size(); ++i) {
        SCOPED_TRACE(doc.entries[i].codeText);
        const int k = static_cast<int>(i % 11);
        EXPECT_EQ(DecodeEntryBars(pages[i / 11], 300 / 96.0, doc.entries[i], 85 + 80 * k, false),
                  std::vector<std::string>{doc.entries[i].codeText});
    }
    EXPECT_NE(PdfText(pdf).find("第2页/共2页"), std::string::npos);
}

}  // namespace
}  // namespace quillon
