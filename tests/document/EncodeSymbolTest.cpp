#include "document/EncodeSymbol.h"
#include "document/QuillonDoc.h"
#include "support/BarcodeDecoder.h"
#include "support/RecordingPrompt.h"

#include <gtest/gtest.h>

#include <string>

namespace quillon {
namespace {

using Format = ZXing::BarcodeFormat;

TEST(EncodeSymbolTest, SizeLimitsAndRefusals)
{
    struct {
        int kind, size;
        std::string text;
        int result;  // 0: the byte count, width x height
    } const cases[] = {
        {1, 1, "ABC", kEncodeRefused},
        {7, 1, "ABC", kEncodeRefused},
        {kSymbolQrCode, 0, "ABC", kEncodeRefused},
        {kSymbolQrCode, 41, "ABC", kEncodeRefused},
        {kSymbolDataMatrix, 0, "ABC", kEncodeRefused},
        {kSymbolDataMatrix, 31, "ABC", kEncodeRefused},
        {kSymbolPdf417, 0, "ABC", kEncodeRefused},
        {kSymbolPdf417, 31, "ABC", kEncodeRefused},
        {kSymbolQrCode, 1, "ABC", 0},
        {kSymbolQrCode, 40, "ABC", 0},
        {kSymbolDataMatrix, 1, "ABC", 0},
        {kSymbolDataMatrix, 30, "ABC", 0},
        {kSymbolPdf417, 1, "ABC", 0},
        {kSymbolPdf417, 30, "ABC", 0},
        {kSymbolCode39, 77, "ABC", 0},
        {kSymbolCode128, -3, "ABC", 0},
        {kSymbolCode128, 5, std::string(60, 'A'), 0},
        {kSymbolCode128, 5, std::string(61, 'A'), kEncodeFailed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.kind << " size " << c.size << " length " << c.text.size());
        int width = 99;
        int height = 99;
        const int result = EncodeSymbol(c.kind, c.size, 0, c.text, 1, nullptr, width, height);
        if (c.result == 0) {
            EXPECT_GT(width, 0);
            EXPECT_EQ(result, width * height);
        } else {
            EXPECT_EQ(result, c.result);
            EXPECT_EQ(width + height, 0);
        }
    }
    int width = 99;
    int height = 99;
    EXPECT_EQ(EncodeSymbol(kSymbolCode128, 5, 2, "", 1, nullptr, width, height), kEncodeRefused);
    EXPECT_EQ(width + height, 198) << "an empty text is refused before the sizes are touched";
}

TEST(EncodeSymbolTest, Code128GivesOneBytePerModuleAndScaleWidensEveryModule)
{
    std::vector<std::uint8_t> one;
    std::vector<std::uint8_t> three;
    int w1 = 0, h1 = 0, w3 = 0, h3 = 0;
    const std::string text = "<AW>31860000";
    ASSERT_EQ(EncodeSymbol(kSymbolCode128, 5, 2, text, 1, &one, w1, h1), 1);
    ASSERT_EQ(EncodeSymbol(kSymbolCode128, 5, 2, text, 3, &three, w3, h3), 1);
    // 11 modules a symbol character, 13 for the stop; the library's linear
    // bar height is 50 modules, and every module row is scale times as high.
    EXPECT_EQ(w1 % 11, 2);
    EXPECT_EQ(h1, 50);
    EXPECT_EQ(w3, 3 * w1);
    EXPECT_EQ(h3, 150);
    ASSERT_EQ(one.size(), static_cast<std::size_t>(w1) * h1);
    for (int y = 1; y < h1; ++y)
        ASSERT_TRUE(std::equal(one.begin(), one.begin() + w1, one.begin() + y * w1));
    for (int c = 0; c < 3 * w1; ++c)
        ASSERT_EQ(three[static_cast<std::size_t>(c)], one[static_cast<std::size_t>(c / 3)]);
    EXPECT_EQ(test::DecodeRaster(one, w1, h1, Format::Code128), std::vector<std::string>{text});
}

TEST(EncodeSymbolTest, EverySymbolDecodesToItsText)
{
    struct {
        int kind, size, scale;
        Format format;
        std::string text;
        int modules;  // width in modules when it is known, else 0
    } const cases[] = {
        {kSymbolQrCode, 2, 4, Format::QRCode, "<AW>31860000", 25},        // version 2 even for short text
        {kSymbolQrCode, 2, 1, Format::QRCode, std::string(200, 'Q'), 0},  // grows past version 2
        {kSymbolPdf417, 3, 2, Format::PDF417, "<AW>31860000", 0},
        // One data column cannot hold this in 90 rows: the library widens
        // the symbol with a warning, which is still a symbol.
        {kSymbolPdf417, 1, 1, Format::PDF417, std::string(400, 'P'), 0},
        {kSymbolDataMatrix, 10, 3, Format::DataMatrix, "<AW>31860000", 0},
        {kSymbolCode39, 0, 2, Format::Code39, "AW-31860000", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<std::uint8_t> raster;
        int width = 0;
        int height = 0;
        ASSERT_EQ(EncodeSymbol(c.kind, c.size, 0, c.text, c.scale, &raster, width, height), 1);
        if (c.modules > 0) {
            EXPECT_EQ(width, c.modules * c.scale);
        }
        EXPECT_EQ(test::DecodeRaster(raster, width, height, c.format), std::vector<std::string>{c.text});
    }
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

// Entries of up to 12 characters whose command strings together are length
// characters long; lower-case letters keep QR Code in byte mode.
CQuillonDoc DocumentOfLength(std::size_t length)
{
    CQuillonDoc doc;
    for (std::string remaining(length, 'q'); !remaining.empty(); remaining.erase(0, 12))
        doc.AddEntry(remaining.substr(0, 12), "c");
    return doc;
}

TEST(ConversionTest, ScaleAndColumnsStepWithTheTextLength)
{
    struct {
        bool qr;
        std::size_t length;
        int width;
    } const cases[] = {
        // 49 and 50 characters both need QR version 3, 29 modules: scale 4, then 3.
        {true, 49, 29 * 4},
        {true, 50, 29 * 3},
        // PDF417: start, left indicator, data columns, right indicator, 17
        // modules each, and the 18-module stop; scale 2.
        {false, 29, 2 * (17 * 5 + 18)},
        {false, 30, 2 * (17 * 6 + 18)},
        {false, 49, 2 * (17 * 6 + 18)},
        {false, 50, 2 * (17 * 7 + 18)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.qr ? "QR " : "PDF417 ") << c.length);
        CQuillonDoc doc = DocumentOfLength(c.length);
        doc.ConvertDocument(c.qr);
        std::string all;
        for (const auto& code : doc.convCodes)
            all += code;
        ASSERT_EQ(all.size(), c.length);
        EXPECT_EQ(doc.convWidth, c.width);
        // A QR Code is square; PDF417 rows are 3 modules high, at scale 2.
        EXPECT_EQ(c.qr ? doc.convHeight - c.width : doc.convHeight % 6, 0);
        EXPECT_EQ(
            test::DecodeRaster(doc.convPixels, doc.convWidth, doc.convHeight, c.qr ? Format::QRCode : Format::PDF417),
            std::vector<std::string>{all});
    }
}

TEST(ConversionTest, TextBeyondPdf417KeepsTheListWithoutASymbol)
{
    CQuillonDoc doc;
    for (int i = 0; i < 150; ++i)
        doc.AddEntry("<AW>6141" + std::to_string(1000 + i), "entry");
    doc.ConvertDocument(false);
    EXPECT_EQ(doc.convWidth + doc.convHeight, 0);
    EXPECT_TRUE(doc.convPixels.empty());
    EXPECT_EQ(doc.convCodes.size(), 150u);
    EXPECT_EQ(doc.convCaptions.size(), 150u);
}

// An entry's module row as a raster two pixels a module and 40 rows high.
std::vector<std::uint8_t> EntryRaster(const CodeInfo& entry, int& width, int& height)
{
    width = 2 * entry.moduleCount;
    height = 40;
    std::vector<std::uint8_t> raster;
    for (int y = 0; y < height; ++y)
        for (const std::uint8_t module : entry.modules)
            raster.insert(raster.end(), 2, module);
    return raster;
}

// The bytes the symbols carry, read back by ZXing: the device reads GBK.
TEST(DeviceBytesTest, EntriesAndTheConvertedSymbolCarryGbk)
{
    struct {
        std::string code, bytes;
    } const cases[] = {
        {"<AW>31860000", "<AW>31860000"},
        {"中文ABC", "\xD6\xD0\xCE\xC4"
                    "ABC"},
        {"é€·", "\xA8\xA6\x80\xA1\xA4"},
        {"扫描器设置" + std::string(12, 'x'), "\xC9\xA8\xC3\xE8\xC6\xF7\xC9\xE8\xD6\xC3" + std::string(12, 'x')},
    };
    CQuillonDoc doc;
    test::RecordingPrompt prompt;
    doc.SetPrompt(&prompt);
    std::string all;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        ASSERT_TRUE(doc.AddEntry(c.code, "说明"));
        const CodeInfo& entry = doc.entries.back();
        EXPECT_EQ(entry.codeText, c.code) << "the line under the bars stays as typed";
        int width = 0;
        int height = 0;
        const auto raster = EntryRaster(entry, width, height);
        EXPECT_EQ(test::DecodeRaster(raster, width, height, Format::Code128, 20, true),
                  std::vector<std::string>{c.bytes});
        all += c.bytes;
    }
    EXPECT_TRUE(prompt.shown.empty());
    for (const bool qr : {true, false}) {
        SCOPED_TRACE(qr ? "QR Code" : "PDF417");
        doc.ConvertDocument(qr);
        EXPECT_EQ(test::DecodeRaster(doc.convPixels, doc.convWidth, doc.convHeight,
                                     qr ? Format::QRCode : Format::PDF417, 20, true),
                  std::vector<std::string>{all});
    }
}

TEST(DeviceBytesTest, ACharacterWithoutAGbkFormIsRefusedBeforeTheEntryIsAdded)
{
    CQuillonDoc doc;
    test::RecordingPrompt prompt;
    doc.SetPrompt(&prompt);
    ASSERT_TRUE(doc.AddEntry("A", "first"));
    for (const std::string code : {"A\u00A1", "\U0001F600", "₩100", "한국어"}) {
        SCOPED_TRACE(code);
        prompt.shown.clear();
        EXPECT_FALSE(doc.AddEntry(code, "说明"));
        ASSERT_EQ(prompt.shown.size(), 1u);
        EXPECT_EQ(prompt.shown[0].kind, test::RecordingPrompt::Shown::Error);
        EXPECT_EQ(prompt.shown[0].text, kNotGbkText);
    }
    ASSERT_EQ(doc.entries.size(), 1u);
    EXPECT_EQ(doc.entries[0].codeText, "A");
}

}  // namespace
}  // namespace quillon
