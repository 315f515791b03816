#include "document/QuillonDoc.h"
#include "support/BarcodeDecoder.h"
#include "support/PageImages.h"
#include "support/TempDir.h"
#include "views/PagedPrint.h"
#include "views/SheetWriter.h"
#include "views/ViewOptions.h"

#include <QImage>
#include <QPageSize>
#include <QPrinter>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>

namespace quillon {
namespace {

using test::DecodeArea;
using test::PdfText;
using test::Rasterise;

std::vector<std::string> DecodeEntryBars(const QImage& page, double pixelsPerUnit, const CodeInfo& entry,
                                         int barsTop, bool inverted)
{
    // Inverted bars are decoded inside their black background only.
    const int inset = inverted ? 2 : -10;
    return DecodeArea(page, pixelsPerUnit, entry.symbolX - 15 + inset, barsTop - 4 + 1,
                      entry.symbolX + 15 + entry.moduleCount - inset, barsTop + 36 + 3, inverted,
                      ZXing::BarcodeFormat::Code128);
}

const char* const kCommands[] = {
    "<AW>31860000", "<AC>318600024142", "3186000141", "<AW>318601F4", "<AC>318600020A0D", "0710",
    "<AW>50420123", "CUSTOM-42",        "<AW>31C40003414243", "<AW>31810005", "<AC>3183FFFF", "9901",
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

TEST_P(SheetRoundTripTest, EveryEntryOfThePrintedPagesScans)
{
    const bool inverted = GetParam();
    CQuillonDoc doc = SampleDocument();
    ViewOptionValues options;
    options.invertColours = inverted;
    SheetWriter writer(doc, options);
    writer.FitToContent();
    const test::TempDir dir;
    const auto pdf = dir.Path() / "sheet.pdf";
    ASSERT_EQ(writer.WritePdf(QString::fromStdString(pdf.string())), 2) << "nine entries a page, twelve entries";

    const int dpi = 300;
    const std::vector<QImage> pages = Rasterise(pdf, dpi);
    ASSERT_EQ(pages.size(), 2u);
    const double pixelsPerUnit = dpi / 96.0;
    for (std::size_t i = 0; i < doc.entries.size(); ++i) {
        SCOPED_TRACE(doc.entries[i].codeText);
        const QImage& page = pages[i / 9];
        const int k = static_cast<int>(i % 9);
        EXPECT_EQ(DecodeEntryBars(page, pixelsPerUnit, doc.entries[i], 85 + 80 * k, inverted),
                  std::vector<std::string>{doc.entries[i].codeText});
    }
    const std::string text = PdfText(pdf);
    EXPECT_NE(text.find("第1页/共2页"), std::string::npos) << text;
    EXPECT_NE(text.find("第2页/共2页"), std::string::npos);
    EXPECT_NE(text.find("扫描枪条码配置文档"), std::string::npos);
    EXPECT_NE(text.find("CUSTOM-42"), std::string::npos);
}

TEST_P(SheetRoundTripTest, EveryEntryOfThePaneImageScans)
{
    const bool inverted = GetParam();
    CQuillonDoc doc = SampleDocument();
    ViewOptionValues options;
    options.invertColours = inverted;
    SheetWriter writer(doc, options);
    writer.FitToContent();
    EXPECT_EQ(doc.upperGeometry.totalHeight, doc.entries.back().codeY + 155);
    const QImage image = writer.RenderPane().convertToFormat(QImage::Format_Grayscale8);
    EXPECT_EQ(image.width(), 620);
    EXPECT_EQ(image.height(), doc.upperGeometry.totalHeight);
    for (const CodeInfo& entry : doc.entries) {
        SCOPED_TRACE(entry.codeText);
        EXPECT_EQ(DecodeEntryBars(image, 1.0, entry, entry.symbolY + 50, inverted),
                  std::vector<std::string>{entry.codeText});
    }
}

TEST_P(SheetRoundTripTest, ConvertedSymbolCarriesEveryCommandString)
{
    const bool inverted = GetParam();
    struct Case {
        bool qr;
        ZXing::BarcodeFormat format;
    } cases[] = {{true, ZXing::BarcodeFormat::QRCode}, {false, ZXing::BarcodeFormat::PDF417}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.qr ? "QR Code" : "PDF417");
        CQuillonDoc doc;
        for (int i = 0; i < 6; ++i)
            doc.AddEntry(kCommands[i], "设置");
        std::string all;
        for (const auto& entry : doc.entries)
            all += entry.codeText;
        ASSERT_TRUE(doc.ConversionCommand(c.qr));
        ASSERT_GT(doc.convWidth, 0);
        ViewOptionValues options;
        options.invertColours = inverted;
        SheetWriter writer(doc, options);
        writer.FitToContent();

        const test::TempDir dir;
        const auto pdf = dir.Path() / "converted.pdf";
        ASSERT_EQ(writer.WritePdf(QString::fromStdString(pdf.string())), 1);
        const std::vector<QImage> pages = Rasterise(pdf, 300);
        ASSERT_EQ(pages.size(), 1u);
        const int paperTop = 65 + 20 * 6;
        EXPECT_EQ(DecodeArea(pages[0], 300 / 96.0, inverted ? 47 : 30, paperTop - (inverted ? 4 : 20),
                             doc.convWidth + (inverted ? 73 : 90), paperTop + doc.convHeight + (inverted ? 5 : 20),
                             inverted, c.format),
                  std::vector<std::string>{all});

        const QImage image = writer.RenderPane().convertToFormat(QImage::Format_Grayscale8);
        const int screenTop = 80 + 20 * 6;
        EXPECT_EQ(DecodeArea(image, 1.0, inverted ? 47 : 30, screenTop - (inverted ? 4 : 20),
                             doc.convWidth + (inverted ? 73 : 90), screenTop + doc.convHeight + (inverted ? 5 : 20),
                             inverted, c.format),
                  std::vector<std::string>{all});
    }
}

INSTANTIATE_TEST_SUITE_P(Colours, SheetRoundTripTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Inverted" : "Plain"; });

TEST(SheetWriterTest, OneEntryGivesPageOneOfOne)
{
    CQuillonDoc doc;
    doc.AddEntry("<AW>31860000", "单个条目");
    const ViewOptionValues options;
    SheetWriter writer(doc, options);
    writer.FitToContent();
    const test::TempDir dir;
    const auto pdf = dir.Path() / "one.pdf";
    ASSERT_EQ(writer.WritePdf(QString::fromStdString(pdf.string())), 1);
    const std::string text = PdfText(pdf);
    EXPECT_NE(text.find("第1页/共1页"), std::string::npos) << text;
    EXPECT_EQ(text.find("第2页"), std::string::npos);
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
    // Letter at 600 dpi: 5100 / 600 = 8 pixels a unit, P = 6600 / 8 = 825,
    // nine entries a page.
    printer.setResolution(600);
    ASSERT_EQ(PrintWithFooters(printer, doc, options, 620), 2);
    const std::vector<QImage> pages = Rasterise(pdf, 300);
    ASSERT_EQ(pages.size(), 2u);
    for (std::size_t i = 0; i < doc.entries.size(); ++i) {
        SCOPED_TRACE(doc.entries[i].codeText);
        const int k = static_cast<int>(i % 9);
        EXPECT_EQ(DecodeEntryBars(pages[i / 9], 300 / 96.0, doc.entries[i], 85 + 80 * k, false),
                  std::vector<std::string>{doc.entries[i].codeText});
    }
    EXPECT_NE(PdfText(pdf).find("第2页/共2页"), std::string::npos);
}

TEST(SheetWriterTest, UnwritablePathIsReported)
{
    CQuillonDoc doc;
    doc.AddEntry("A", "a");
    const ViewOptionValues options;
    SheetWriter writer(doc, options);
    EXPECT_EQ(writer.WritePdf(QStringLiteral("/nonexistent-dir/x.pdf")), -1);
    EXPECT_FALSE(writer.WritePng(QStringLiteral("/nonexistent-dir/x.png")));
}

}  // namespace
}  // namespace quillon
