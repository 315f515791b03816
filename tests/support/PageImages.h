#pragma once
#include "support/BarcodeDecoder.h"
#include "support/ProgramRun.h"

#include <QImage>
#include <QRect>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace quillon::test {

// The pages of a PDF as grey images, rasterised by poppler at dpi.
inline std::vector<QImage> Rasterise(const std::filesystem::path& pdf, int dpi)
{
    const std::filesystem::path prefix = pdf.parent_path() / "page";
    const ProgramRun run = RunProgram("pdftoppm -r " + std::to_string(dpi) + " -gray " + Quote(pdf.string()) + " " +
                                      Quote(prefix.string()));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::vector<std::filesystem::path> files;
    for (const auto& item : std::filesystem::directory_iterator(pdf.parent_path()))
        if (item.path().extension() == ".pgm")
            files.push_back(item.path());
    std::sort(files.begin(), files.end());
    std::vector<QImage> pages;
    for (const auto& file : files)
        pages.push_back(QImage(QString::fromStdString(file.string())).convertToFormat(QImage::Format_Grayscale8));
    return pages;
}

// A word of a PDF page with its box, in points from the page's top left.
struct PdfWord {
    double left, top, right, bottom;
    std::string text;
};

struct PdfPage {
    double width = 0;
    double height = 0;
    std::vector<PdfWord> words;

    // The words in reading order, without blanks.
    std::string Text() const
    {
        std::string text;
        for (const PdfWord& word : words)
            text += word.text;
        return text;
    }
};

// Every page of a PDF with the words that poppler finds on it.
inline std::vector<PdfPage> PdfWords(const std::filesystem::path& pdf)
{
    const std::string html = RunProgram("pdftotext -bbox " + Quote(pdf.string()) + " -").out;
    static const std::regex page(R"re(<page width="([0-9.]+)" height="([0-9.]+)">)re");
    static const std::regex word(
        R"re(<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">([^<]*)</word>)re");
    std::vector<PdfPage> pages;
    std::istringstream lines(html);
    std::smatch match;
    for (std::string line; std::getline(lines, line);) {
        if (std::regex_search(line, match, page))
            pages.push_back({std::stod(match[1]), std::stod(match[2]), {}});
        else if (!pages.empty() && std::regex_search(line, match, word))
            pages.back().words.push_back(
                {std::stod(match[1]), std::stod(match[2]), std::stod(match[3]), std::stod(match[4]), match[5]});
    }
    return pages;
}

inline std::string PdfText(const std::filesystem::path& pdf)
{
    std::string text = RunProgram("pdftotext -layout " + Quote(pdf.string()) + " -").out;
    // The extractor drops or keeps the blanks between glyphs as it sees fit.
    std::erase(text, ' ');
    return text;
}

// Decodes the part of a grey image between unit coordinates, pixelsPerUnit
// apart; inverted areas are turned back to dark on light first.
inline std::vector<std::string> DecodeArea(const QImage& page, double pixelsPerUnit, int left, int top, int right,
                                           int bottom, bool invert, ZXing::BarcodeFormats formats)
{
    QImage area = page.copy(QRect(static_cast<int>(left * pixelsPerUnit), static_cast<int>(top * pixelsPerUnit),
                                  static_cast<int>((right - left) * pixelsPerUnit),
                                  static_cast<int>((bottom - top) * pixelsPerUnit)));
    if (invert)
        area.invertPixels();
    return DecodeGrey(area.constBits(), area.width(), area.height(), static_cast<int>(area.bytesPerLine()), formats);
}

}  // namespace quillon::test
