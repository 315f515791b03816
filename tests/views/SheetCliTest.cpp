#include "support/PageImages.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <string>
#include <vector>

namespace quillon {
namespace {

struct CliRun {
    int status = -1;
    std::string output;  // standard output and error together
};

std::string Quote(const std::string& text) { return "'" + text + "'"; }

CliRun RunCli(const std::string& arguments, const std::string& workDir = QUILLON_SOURCE_DIR)
{
    const std::string command = "cd " + Quote(workDir) + " && " + Quote(QUILLON_CLI) + " sheet " + arguments + " 2>&1";
    CliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        run.output += buffer;
    const int raw = pipe != nullptr ? pclose(pipe) : -1;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

// Decodes entry k of a printed page (nine to a page), pixelsPerUnit apart.
std::vector<std::string> PrintedEntry(const QImage& page, double pixelsPerUnit, int k, bool inverted)
{
    const int top = 85 + 80 * k;
    return test::DecodeArea(page, pixelsPerUnit, inverted ? 47 : 35, top - 3, 620, top + 39, inverted,
                            ZXing::BarcodeFormat::Code128);
}

TEST(SheetCliTest, OptionsDialogValuesAndCustomEntriesScanFromThePdfAndTheInvertedPng)
{
    const std::vector<std::string> expected = {
        "<AW>414100", "<AW>614100", "<AW>61820BB8", "<AW>51C10003414243", "<AW>51C100020A0D", "ABC123",
        "<AW>414100", "<AW>614101", "<AW>614102", "<AW>614103", "<AW>614104",
    };
    for (const bool png : {false, true}) {
        SCOPED_TRACE(png ? "inverted PNG" : "PDF");
        const test::TempDir dir;
        const std::string out = (dir.Path() / (png ? "sheet.png" : "sheet.pdf")).string();
        const CliRun run = RunCli(std::string(png ? "--invert " : "") + "-o " + Quote(out) +
                                  " 414100 614100 61820000=3000 51C10000=ABC 51C10000=hex:0A0D"
                                  " --custom ABC123:自定义 414100 614101 614102 614103 614104");
        ASSERT_EQ(run.status, 0) << run.output;
        EXPECT_NE(run.output.find("命令已存在，是否重复添加？"), std::string::npos) << "the repeat is said and added";
        const std::vector<QImage> pages =
            png ? std::vector<QImage>{QImage(QString::fromStdString(out)).convertToFormat(QImage::Format_Grayscale8)}
                : test::Rasterise(out, 300);
        // The pane holds every entry; paper nine a page, with footers.
        ASSERT_EQ(pages.size(), png ? 1u : 2u);
        if (png) {
            EXPECT_EQ(pages[0].height(), 15 + 80 * 10 + 60 + 155) << "the last command line plus 155";
        } else {
            const std::string text = test::PdfText(out);
            EXPECT_NE(text.find("第1页/共2页"), std::string::npos);
            EXPECT_NE(text.find("第2页/共2页"), std::string::npos);
        }
        for (std::size_t i = 0; i < expected.size(); ++i) {
            SCOPED_TRACE(expected[i]);
            EXPECT_EQ(PrintedEntry(pages[png ? 0 : i / 9], png ? 1.0 : 300 / 96.0,
                                   static_cast<int>(png ? i : i % 9), png),
                      std::vector<std::string>{expected[i]});
        }
    }
}

TEST(SheetCliTest, ConversionCarriesEveryCommandString)
{
    // The drawing itself is checked in both colours and both outputs by the
    // sheet round trip; here the switch reaches it.
    struct {
        const char *kind, *file;
        ZXing::BarcodeFormat format;
    } const cases[] = {{"qr", "qr.pdf", ZXing::BarcodeFormat::QRCode},
                       {"pdf417", "pdf417.png", ZXing::BarcodeFormat::PDF417}};
    const std::string all = "<AW>414100<AW>614100<AW>61820BB8<AW>51C10003414243ABC123";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const test::TempDir dir;
        const std::string out = (dir.Path() / c.file).string();
        const CliRun run = RunCli(std::string("--convert ") + c.kind + " -o " + Quote(out) +
                               " 414100 614100 61820000=3000 51C10000=ABC --custom ABC123:自定义");
        ASSERT_EQ(run.status, 0) << run.output;
        QImage image;
        if (out.ends_with(".pdf")) {
            const std::vector<QImage> pages = test::Rasterise(out, 300);
            ASSERT_EQ(pages.size(), 1u);
            image = pages[0];
        } else {
            image = QImage(QString::fromStdString(out)).convertToFormat(QImage::Format_Grayscale8);
        }
        // Whatever the symbol's size, it is the only 2-D symbol on the sheet.
        EXPECT_EQ(test::DecodeGrey(image.constBits(), image.width(), image.height(),
                                   static_cast<int>(image.bytesPerLine()), c.format),
                  std::vector<std::string>{all});
    }
}

TEST(SheetCliTest, BadInputIsRefusedWithStatusTwo)
{
    const test::TempDir dir;
    const std::string out = Quote((dir.Path() / "x.pdf").string());
    struct Case {
        const char* label;
        std::string arguments;
        const char* message;
    } cases[] = {
        {"dialog refuses the value", "-o " + out + " 61820000=99999", "触发超时超过最大限制！"},
        {"value missing", "-o " + out + " 61820000", "61820000"},
        {"value for an option without a dialog", "-o " + out + " 414100=5", "takes no value"},
        {"unknown code", "-o " + out + " 999999", "no option with code 999999"},
        {"unknown conversion", "--convert aztec -o " + out + " 414100", "qr or pdf417"},
        {"no output", "414100", "-o OUT.pdf"},
        {"other extension", "-o x.svg 414100", ".pdf or .png"},
        {"empty custom description", "-o " + out + " --custom ABC:", "CODE:DESCRIPTION"},
        {"nothing to print", "-o " + out, "no option codes"},
        {"unknown switch", "-o " + out + " --colour 414100", "unknown option --colour"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const CliRun run = RunCli(c.arguments);
        EXPECT_EQ(run.status, 2) << run.output;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "x.pdf"));
}

}  // namespace
}  // namespace quillon
