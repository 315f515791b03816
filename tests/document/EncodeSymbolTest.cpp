#include "document/EncodeSymbol.h"
#include "document/QuillonDoc.h"
#include "document/ZintSymbol.h"

#include <zint.h>
#include "support/BarcodeDecoder.h"

#include <gtest/gtest.h>

#include <string>

namespace quillon {
namespace {

struct RefusedCase {
    const char* label;
    int kind;
    int size;
};

TEST(EncodeSymbolTest, RefusedCallsReturnMinusOneAndLeaveNoSize)
{
    const RefusedCase cases[] = {
        {"kind 1", 1, 1},           {"kind 7", 7, 1},          {"QR version 0", kSymbolQrCode, 0},
        {"QR version 41", kSymbolQrCode, 41}, {"Data Matrix 0", kSymbolDataMatrix, 0},
        {"Data Matrix 31", kSymbolDataMatrix, 31}, {"PDF417 0 columns", kSymbolPdf417, 0},
        {"PDF417 31 columns", kSymbolPdf417, 31},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::vector<std::uint8_t> raster;
        int width = 99;
        int height = 99;
        EXPECT_EQ(EncodeSymbol(c.kind, c.size, 0, "ABC", 1, &raster, width, height), kEncodeRefused);
        EXPECT_EQ(width, 0);
        EXPECT_EQ(height, 0);
        EXPECT_TRUE(raster.empty());
    }
}

TEST(EncodeSymbolTest, EmptyTextIsRefusedBeforeTheSizesAreTouched)
{
    int width = 99;
    int height = 99;
    EXPECT_EQ(EncodeSymbol(kSymbolCode128, 5, 2, "", 1, nullptr, width, height), kEncodeRefused);
    EXPECT_EQ(width, 99);
    EXPECT_EQ(height, 99);
}

TEST(EncodeSymbolTest, SizeLimitsAreInclusive)
{
    const RefusedCase cases[] = {
        {"QR 1", kSymbolQrCode, 1},          {"QR 40", kSymbolQrCode, 40},
        {"Data Matrix 1", kSymbolDataMatrix, 1}, {"Data Matrix 30", kSymbolDataMatrix, 30},
        {"PDF417 1", kSymbolPdf417, 1},      {"PDF417 30", kSymbolPdf417, 30},
        {"Code 39 passes its size", kSymbolCode39, 77}, {"Code 128 passes its size", kSymbolCode128, -3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        int width = 0;
        int height = 0;
        const int needed = EncodeSymbol(c.kind, c.size, 0, "ABC", 1, nullptr, width, height);
        EXPECT_GT(width, 0);
        EXPECT_EQ(needed, width * height);
    }
}

TEST(EncodeSymbolTest, Code128AtScaleOneGivesOneBytePerModuleAndDecodes)
{
    std::vector<std::uint8_t> raster;
    int width = 0;
    int height = 0;
    const std::string text = "<AW>31860000";
    ASSERT_EQ(EncodeSymbol(kSymbolCode128, 5, 2, text, 1, &raster, width, height), 1);
    // Code 128: 11 modules a symbol character, 13 for the stop; the digits
    // pack two to a character in code set C.
    EXPECT_EQ(width % 11, 2);
    // The library's bar height for linear symbols: 50 modules.
    EXPECT_EQ(height, 50);
    ASSERT_EQ(raster.size(), static_cast<std::size_t>(width) * height);
    for (int y = 1; y < height; ++y)
        EXPECT_TRUE(std::equal(raster.begin(), raster.begin() + width, raster.begin() + y * width));
    EXPECT_EQ(test::DecodeRaster(raster, width, height, ZXing::BarcodeFormat::Code128),
              std::vector<std::string>{text});
}

TEST(EncodeSymbolTest, ScaleWidensEveryModule)
{
    std::vector<std::uint8_t> one;
    std::vector<std::uint8_t> three;
    int w1 = 0, h1 = 0, w3 = 0, h3 = 0;
    ASSERT_EQ(EncodeSymbol(kSymbolCode128, 5, 2, "SCALE", 1, &one, w1, h1), 1);
    ASSERT_EQ(EncodeSymbol(kSymbolCode128, 5, 2, "SCALE", 3, &three, w3, h3), 1);
    EXPECT_EQ(w3, 3 * w1);
    EXPECT_EQ(h3, 50 * 3) << "every module row is its height times scale pixel rows";
    for (int c = 0; c < w1; ++c)
        for (int k = 0; k < 3; ++k)
            ASSERT_EQ(three[static_cast<std::size_t>(3 * c + k)], one[static_cast<std::size_t>(c)]);
}

TEST(EncodeSymbolTest, MatrixSymbolsDecodeToTheirText)
{
    struct Case {
        const char* label;
        int kind;
        int size;
        int scale;
        ZXing::BarcodeFormat format;
        std::string text;
    } cases[] = {
        {"QR Code", kSymbolQrCode, 2, 4, ZXing::BarcodeFormat::QRCode, "<AW>31860000"},
        {"PDF417", kSymbolPdf417, 3, 2, ZXing::BarcodeFormat::PDF417, "<AW>31860000"},
        {"Data Matrix", kSymbolDataMatrix, 10, 3, ZXing::BarcodeFormat::DataMatrix, "<AW>31860000"},
        {"Code 39", kSymbolCode39, 0, 2, ZXing::BarcodeFormat::Code39, "AW-31860000"},
    };
    for (const auto& c : cases) {
        const std::string& text = c.text;
        SCOPED_TRACE(c.label);
        std::vector<std::uint8_t> raster;
        int width = 0;
        int height = 0;
        ASSERT_EQ(EncodeSymbol(c.kind, c.size, 0, text, c.scale, &raster, width, height), 1);
        EXPECT_EQ(test::DecodeRaster(raster, width, height, c.format), std::vector<std::string>{text});
    }
}

TEST(EncodeSymbolTest, QrVersionIsTheSmallestAndGrowsWithTheData)
{
    struct Case {
        std::size_t length;
        int modules;
    } cases[] = {
        {10, 25},   // fits version 2: 17 + 4 x 2 modules
        {200, 0},   // needs a larger version
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        const std::string text(c.length, 'Q');
        std::vector<std::uint8_t> raster;
        int width = 0;
        int height = 0;
        ASSERT_EQ(EncodeSymbol(kSymbolQrCode, 2, 0, text, 1, &raster, width, height), 1);
        if (c.modules > 0)
            EXPECT_EQ(width, c.modules);
        else
            EXPECT_GT(width, 25);
        EXPECT_EQ(test::DecodeRaster(raster, width, height, ZXing::BarcodeFormat::QRCode),
                  std::vector<std::string>{text});
    }
}

TEST(EncodeSymbolTest, ALibraryWarningStillGivesTheSymbol)
{
    // One data column cannot hold this in PDF417's 90 rows; the library
    // widens the symbol and warns.
    const std::string text(400, 'P');
    std::vector<std::uint8_t> raster;
    int width = 0;
    int height = 0;
    ASSERT_EQ(EncodeSymbol(kSymbolPdf417, 1, 0, text, 1, &raster, width, height), 1);
    EXPECT_EQ(test::DecodeRaster(raster, width, height, ZXing::BarcodeFormat::PDF417),
              std::vector<std::string>{text});
}

TEST(ZintSymbolTest, WarningsCountAsEncodedAndErrorsSayWhy)
{
    ZintSymbol widened;
    widened.SetSymbology(BARCODE_PDF417);
    widened.SetOption2(1);
    widened.SetDataMode();
    EXPECT_TRUE(widened.Encode(std::string(400, 'P')));
    EXPECT_FALSE(widened.lastError().empty()) << "the library warned about the columns";
    EXPECT_GT(widened.Width(), 17 * 4 + 18);

    ZintSymbol fixedVersion;
    fixedVersion.SetSymbology(BARCODE_QRCODE);
    fixedVersion.SetOption2(2);
    EXPECT_FALSE(fixedVersion.Encode(std::string(100, 'q')));
    EXPECT_TRUE(fixedVersion.LastFailureWasTooLong());
    EXPECT_FALSE(fixedVersion.lastError().empty());
    fixedVersion.SetOption2(0);
    EXPECT_TRUE(fixedVersion.Encode(std::string(100, 'q')));
    EXPECT_TRUE(fixedVersion.lastError().empty());
}

TEST(EncodeSymbolTest, TextTheLibraryCannotEncodeGivesMinusTwo)
{
    int width = 99;
    int height = 99;
    std::vector<std::uint8_t> raster;
    EXPECT_EQ(EncodeSymbol(kSymbolCode128, 5, 2, std::string(61, 'A'), 1, &raster, width, height), kEncodeFailed);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
    EXPECT_EQ(EncodeSymbol(kSymbolCode128, 5, 2, std::string(60, 'A'), 1, &raster, width, height), 1);
}

TEST(EncodeSymbolTest, RasterLimitAndNegativeScale)
{
    std::vector<std::uint8_t> raster;
    int width = 0;
    int height = 0;
    // Version 40 is 177 modules: at scale 3 it fits (281,961 bytes), at
    // scale 4 it does not (501,264 bytes) but the size is still reported.
    ASSERT_EQ(EncodeSymbol(kSymbolQrCode, 40, 0, "A", 3, &raster, width, height), 1);
    EXPECT_EQ(width, 531);
    raster.clear();
    EXPECT_EQ(EncodeSymbol(kSymbolQrCode, 40, 0, "A", 4, &raster, width, height), kEncodeRefused);
    EXPECT_EQ(width, 708);
    EXPECT_EQ(height, 708);
    EXPECT_TRUE(raster.empty());
    EXPECT_EQ(EncodeSymbol(kSymbolQrCode, 40, 0, "A", 4, nullptr, width, height), 708 * 708);
    EXPECT_EQ(EncodeSymbol(kSymbolQrCode, 2, 0, "A", -1, &raster, width, height), kEncodeRefused);
    EXPECT_TRUE(raster.empty());
}

// The conversion picks scale and columns by the length of all command
// strings together.
CQuillonDoc DocumentOfLength(std::size_t length)
{
    CQuillonDoc doc;
    // Lower-case letters keep QR Code in byte mode, one byte a character.
    std::string remaining(length, 'q');
    while (!remaining.empty()) {
        const std::size_t piece = std::min<std::size_t>(remaining.size(), 12);
        doc.AddEntry(remaining.substr(0, piece), "c");
        remaining.erase(0, piece);
    }
    return doc;
}

TEST(ConversionTest, QrScaleStepsAtFiftyCharacters)
{
    const std::pair<std::size_t, int> cases[] = {{49, 4}, {50, 3}};
    for (const auto& [length, scale] : cases) {
        SCOPED_TRACE(length);
        CQuillonDoc doc = DocumentOfLength(length);
        doc.ConvertDocument(true);
        const int modules = 17 + 4 * 3;  // 49 and 50 characters both need version 3
        EXPECT_EQ(doc.convWidth, modules * scale);
        EXPECT_EQ(doc.convHeight, modules * scale);
        std::string all;
        for (const auto& code : doc.convCodes)
            all += code;
        ASSERT_EQ(all.size(), length);
        EXPECT_EQ(test::DecodeRaster(doc.convPixels, doc.convWidth, doc.convHeight, ZXing::BarcodeFormat::QRCode),
                  std::vector<std::string>{all});
    }
}

TEST(ConversionTest, Pdf417ColumnsStepAtThirtyAndFifty)
{
    const std::pair<std::size_t, int> cases[] = {{29, 2}, {30, 3}, {49, 3}, {50, 4}};
    for (const auto& [length, columns] : cases) {
        SCOPED_TRACE(length);
        CQuillonDoc doc = DocumentOfLength(length);
        doc.ConvertDocument(false);
        // Start, left indicator, data columns, right indicator: 17 modules
        // each, and the 18-module stop; scale 2.
        EXPECT_EQ(doc.convWidth, 2 * (17 * (columns + 3) + 18));
        std::string all;
        for (const auto& code : doc.convCodes)
            all += code;
        EXPECT_EQ(test::DecodeRaster(doc.convPixels, doc.convWidth, doc.convHeight, ZXing::BarcodeFormat::PDF417),
                  std::vector<std::string>{all});
    }
}

TEST(ConversionTest, ALargeDocumentStillConvertsToOneScannableSymbol)
{
    // 288 characters: far beyond QR version 2 and beyond 90 rows of four
    // PDF417 columns, which the library widens.
    const std::pair<bool, ZXing::BarcodeFormat> cases[] = {{true, ZXing::BarcodeFormat::QRCode},
                                                           {false, ZXing::BarcodeFormat::PDF417}};
    for (const auto& [qr, format] : cases) {
        SCOPED_TRACE(qr ? "QR Code" : "PDF417");
        CQuillonDoc doc;
        std::string all;
        for (int i = 0; i < 24; ++i) {
            const std::string command = "<AW>6141" + std::to_string(1000 + i);
            doc.AddEntry(command, "entry");
            all += command;
        }
        doc.ConvertDocument(qr);
        ASSERT_GT(doc.convWidth, 0);
        ASSERT_EQ(doc.convPixels.size(), static_cast<std::size_t>(doc.convWidth) * doc.convHeight);
        if (!qr)
            EXPECT_EQ(doc.convHeight % (3 * 2), 0) << "PDF417 rows are 3 modules high, at scale 2";
        EXPECT_EQ(test::DecodeRaster(doc.convPixels, doc.convWidth, doc.convHeight, format),
                  std::vector<std::string>{all});
    }
}

TEST(ConversionTest, TextBeyondPdf417KeepsTheListWithoutASymbol)
{
    CQuillonDoc doc;
    for (int i = 0; i < 150; ++i)
        doc.AddEntry("<AW>6141" + std::to_string(1000 + i), "entry");
    doc.ConvertDocument(false);
    EXPECT_EQ(doc.convWidth, 0);
    EXPECT_EQ(doc.convHeight, 0);
    EXPECT_TRUE(doc.convPixels.empty());
    EXPECT_EQ(doc.convCodes.size(), 150u);
    EXPECT_EQ(doc.convCaptions.size(), 150u);
}

TEST(ConversionTest, CommandStringsAreJoinedWithoutSeparator)
{
    CQuillonDoc doc;
    doc.AddEntry("A", "first");
    doc.AddEntry("B", "second");
    doc.ConvertDocument(true);
    EXPECT_EQ(test::DecodeRaster(doc.convPixels, doc.convWidth, doc.convHeight, ZXing::BarcodeFormat::QRCode),
              std::vector<std::string>{"AB"});
    doc.ResetConversion();
    EXPECT_TRUE(doc.convCaptions.empty());
    EXPECT_TRUE(doc.convCodes.empty());
    EXPECT_EQ(doc.convWidth, 0);
    EXPECT_EQ(doc.convHeight, 0);
    EXPECT_TRUE(doc.convPixels.empty());
}

}  // namespace
}  // namespace quillon
