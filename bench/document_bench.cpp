// Times the offline road: adding entries (Code 128 encoding included),
// painting the list as the pane does, and printing pages to PDF.
#include "document/QuillonDoc.h"
#include "views/PaneContent.h"
#include "views/QtPainter.h"
#include "views/SheetWriter.h"
#include "views/ViewOptions.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

using namespace quillon;

namespace {

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string Command(int i)
{
    char text[32];
    std::snprintf(text, sizeof text, "<AW>%04X%04X", 0x6141 + i % 7, i);
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);

    constexpr int kEntries = 1000;
    constexpr int kPages = 100;
    CQuillonDoc doc;

    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kEntries; ++i)
        doc.AddEntry(Command(i), "触发模式 识读模式 " + std::to_string(i));
    const double addSeconds = SecondsSince(start);

    // The pane paints every entry each time, clipped to its window.
    const ViewOptionValues options;
    QImage pane(620, 400, QImage::Format_RGB32);
    constexpr int kPaints = 20;
    start = std::chrono::steady_clock::now();
    for (int n = 0; n < kPaints; ++n) {
        pane.fill(Qt::white);
        QPainter painter(&pane);
        QtPainter adapter(painter);
        DrawPane(adapter, doc, options, 620);
    }
    const double paintSeconds = SecondsSince(start) / kPaints;

    // Nine entries a printed page: the first 900 entries make 100 pages.
    doc.entries.resize(9 * kPages);
    SheetWriter writer(doc, options);
    writer.FitToContent();
    const auto pdf = std::filesystem::temp_directory_path() / "quillon-document-bench.pdf";
    start = std::chrono::steady_clock::now();
    QFile file(QString::fromStdString(pdf.string()));
    const int pages = file.open(QIODevice::WriteOnly) ? writer.WritePdf(file) : -1;
    file.close();
    const double printSeconds = SecondsSince(start);
    const auto pdfBytes = std::filesystem::file_size(pdf);
    std::filesystem::remove(pdf);

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("entries added:        %d\n", kEntries);
    std::printf("time per entry:       %.1f us\n", addSeconds / kEntries * 1e6);
    std::printf("paint of the list:    %.2f ms (%d entries, mean of %d paints)\n", paintSeconds * 1e3, kEntries,
                kPaints);
    std::printf("pages printed to PDF: %d (%.1f KiB)\n", pages, pdfBytes / 1024.0);
    std::printf("time per page:        %.2f ms\n", printSeconds / pages * 1e3);
    std::printf("peak memory:          %.1f MiB\n", usage.ru_maxrss / 1024.0);
    return pages == kPages ? 0 : 1;
}
