#include "support/PageImages.h"
#include "support/ProgramRun.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillon {
namespace {

using test::Quote;

struct CliRun {
    int status = -1;
    std::string output;  // standard output and error together
};

CliRun RunCli(const std::string& arguments)
{
    const test::ProgramRun run =
        test::RunProgram("cd " + Quote(QUILLON_SOURCE_DIR) + " && " + Quote(QUILLON_CLI) + " sheet " + arguments);
    return {run.exitCode, run.out + run.err};
}

// The symbols themselves are checked in both colours and both outputs by the
// sheet round trip; here the arguments reach them: dialog values, custom
// entries, a repeat (said and added), --invert, --convert, .pdf and .png.
TEST(SheetCliTest, ArgumentsReachTheConvertedSymbolInThePdfAndTheInvertedPng)
{
    const struct {
        const char *switches, *file;
        ZXing::BarcodeFormat format;
    } cases[] = {{"--convert qr", "qr.pdf", ZXing::BarcodeFormat::QRCode},
                 {"--invert --convert pdf417", "pdf417.png", ZXing::BarcodeFormat::PDF417}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const test::TempDir dir;
        const std::string out = (dir.Path() / c.file).string();
        const CliRun run = RunCli(std::string(c.switches) + " -o " + Quote(out) +
                                  " 414100 61820000=3000 51C10000=ABC 51C10000=hex:0A0D --custom ABC123:自定义 414100");
        ASSERT_EQ(run.status, 0) << run.output;
        EXPECT_NE(run.output.find("命令已存在，是否重复添加？"), std::string::npos) << run.output;
        const bool pdf = out.ends_with(".pdf");
        const std::vector<QImage> pages =
            pdf ? test::Rasterise(out, 300)
                : std::vector<QImage>{QImage(QString::fromStdString(out)).convertToFormat(QImage::Format_Grayscale8)};
        ASSERT_EQ(pages.size(), 1u);
        const QImage& page = pages[0];
        // An inverted symbol is decoded inside its black background only: from
        // below the six captions to the background's right and bottom edges.
        int left = 0, top = 0, right = page.width(), bottom = page.height();
        if (!pdf) {
            left = 47, top = 80 + 20 * 6 - 4, right = left, bottom = top;
            for (int x = left; x < page.width(); ++x)
                right = qGray(page.pixel(x, top + 2)) < 128 ? x : right;
            for (int y = top; y < page.height(); ++y)
                bottom = qGray(page.pixel(left + 1, y)) < 128 ? y : bottom;
        }
        EXPECT_EQ(test::DecodeArea(page, 1.0, left, top, right, bottom, !pdf, c.format),
                  std::vector<std::string>{"<AW>414100<AW>61820BB8<AW>51C10003414243<AW>51C100020A0DABC123<AW>414100"});
    }
}

// At 300 dpi a module is about three pixels: the symbols read at the
// image's own size, and the codes that fill a symbol still fit.
TEST(SheetCliTest, APngAtAResolutionOfItsOwn)
{
    const test::TempDir dir;
    const std::string native = (dir.Path() / "96.png").string();
    const std::string fine = (dir.Path() / "300.png").string();
    const std::string longest = std::string(60, 'A');
    for (const auto& [out, dpi] : {std::pair{native, ""}, std::pair{fine, " --dpi 300"}}) {
        const CliRun run = RunCli("-o " + Quote(out) + dpi + " 414100 --custom " + longest + ":最长");
        ASSERT_EQ(run.status, 0) << run.output;
    }
    const QImage small(QString::fromStdString(native));
    const QImage large(QString::fromStdString(fine));
    EXPECT_NEAR(large.width(), small.width() * 300.0 / 96, 1);
    EXPECT_NEAR(large.height(), small.height() * 300.0 / 96, 1);
    EXPECT_EQ(large.dotsPerMeterX(), 11811);  // 300 per inch
    const QImage grey = large.convertToFormat(QImage::Format_Grayscale8);
    EXPECT_EQ(test::DecodeArea(grey, 1.0, 0, 0, grey.width(), grey.height(), false, ZXing::BarcodeFormat::Code128),
              (std::vector<std::string>{"<AW>414100", longest}));
}

TEST(SheetCliTest, BadInputIsRefusedWithStatusTwo)
{
    const test::TempDir dir;
    const std::string out = Quote((dir.Path() / "x.pdf").string());
    std::string many;
    for (int i = 0; i < 50; ++i)
        many += " --custom " + std::string(58, 'a') + std::to_string(10 + i) + ":E" + std::to_string(i);
    struct Case {
        const char* label;
        std::string arguments;
        const char* message;
    } cases[] = {
        {"dialog refuses the value", "-o " + out + " 61820000=99999", "触发超时超过最大限制！"},
        {"symbology name not in the list", "-o " + out + " 31850000=CODE-128", "条码类型名称不在列表中"},
        {"custom code without a GBK form", "-o " + out + " --custom 한국:说明", "GBK编码无法表示"},
        {"value missing", "-o " + out + " 61820000", "61820000"},
        {"value for an option without a dialog", "-o " + out + " 414100=5", "takes no value"},
        {"unknown code", "-o " + out + " 999999", "no option with code 999999"},
        {"unknown conversion", "--convert aztec -o " + out + " 414100", "qr or pdf417"},
        {"no output", "414100", "--output is required"},
        {"other extension", "-o x.svg 414100", ".pdf or .png"},
        {"empty custom description", "-o " + out + " --custom ABC:", "CODE:DESCRIPTION"},
        {"nothing to print", "-o " + out, "no option codes"},
        {"unknown switch", "-o " + out + " --colour 414100", "not expected: --colour"},
        {"a custom code no symbol holds", "-o " + out + " --custom " + std::string(61, 'A') + ":long",
         "--custom: a code of 61 characters is more than a Code 128 symbol holds (60 symbol characters: 60 letters, "
         "or 118 digits)"},
        {"a converted symbol too large", "--convert qr -o " + out + many,
         "--convert: the 50 entries are more than one QR Code symbol holds"},
        {"a converted PDF417 too large", "--convert pdf417 -o " + out + many,
         "--convert: the 50 entries are more than one PDF417 symbol holds"},
        {"a resolution for a PDF", "-o " + out + " --dpi 300 414100", "--dpi: is for a PNG; a PDF is drawn at 600 dpi"},
        {"a resolution below the pane's", "-o x.png --dpi 72 414100", "--dpi: must be from 96 to 600 dpi"},
        {"a resolution in letters", "-o x.png --dpi 3e2 414100", "--dpi: must be from 96 to 600 dpi"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const CliRun run = RunCli(c.arguments);
        EXPECT_EQ(run.status, 2) << run.output;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
        // The window's advice to edit and convert has no place here.
        EXPECT_EQ(run.output.find("条码转换"), std::string::npos) << run.output;
        EXPECT_EQ(run.output.find("转换条码"), std::string::npos) << run.output;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "x.pdf"));
}

}  // namespace
}  // namespace quillon
