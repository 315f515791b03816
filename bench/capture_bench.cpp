// Times the capture road: a 1 MiB image through a pseudo-terminal from
// quillon-sim --no-pace into quillon-cli image (processing time against the
// wire time at 460,800 baud, peak memory), the image processor and BMP
// writer alone, and 100,000 decoded records: capture rate and one paint of
// the upper pane at the end.
#include "device/DecodedOutputProcessor.h"
#include "device/ImageDataProcessor.h"
#include "device/KlsBmpFile.h"
#include "document/QuillonDoc.h"
#include "views/PaneContent.h"
#include "views/QtPainter.h"
#include "views/ViewOptions.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

using namespace quillon;
using Clock = std::chrono::steady_clock;

namespace {

constexpr unsigned kWidth = 1024;
constexpr unsigned kHeight = 1020;  // header and pixels within 1 MiB

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

long PeakKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

pid_t Spawn(const std::vector<std::string>& args)
{
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argv;
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

struct NullHost : IImageTransferHost {
    void ImageArrived() override {}
    void ImageRefused(const char*) override {}
};

void ThroughThePty(const std::string& binDir)
{
    const std::filesystem::path links =
        std::filesystem::temp_directory_path() / ("capture-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(links);
    setenv("QUILLON_PORT_LINKS", links.c_str(), 1);
    const pid_t sim = Spawn({binDir + "/sim/quillon-sim", "--com", "9", "--no-pace", "--resolution",
                             std::to_string(kWidth) + "x" + std::to_string(kHeight)});
    for (int i = 0; i < 100 && !std::filesystem::exists(links / "COM9"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const std::string out = (links / "bench.bmp").string();
    const auto start = Clock::now();
    const pid_t cli = Spawn({binDir + "/cli/quillon-cli", "image", "--port", "COM9", "--size",
                             std::to_string(kWidth) + "x" + std::to_string(kHeight), "-o", out});
    int status = 0;
    rusage usage{};
    wait4(cli, &status, 0, &usage);
    const double wall = SecondsSince(start);
    kill(sim, SIGINT);
    waitpid(sim, nullptr, 0);
    std::filesystem::remove_all(links);

    const double cpu =
        usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
    const double megabytes = (11.0 + kWidth * kHeight) / (1024.0 * 1024.0);
    const double wire = (11.0 + kWidth * kHeight) * 10 / 460800;
    std::printf("image %ux%u through a pty (quillon-cli, exit %d): wall %.3f s, CPU %.3f s = %.3f s per MB, "
                "%.2f%% of the %.1f s wire time at 460800 baud; peak memory %ld KiB\n",
                kWidth, kHeight, WEXITSTATUS(status), wall, cpu, cpu / megabytes, 100 * cpu / wire, wire,
                usage.ru_maxrss);
}

void ImageInProcess()
{
    std::vector<std::uint8_t> frame{0x61, kWidth >> 8, kWidth & 0xFF, kHeight >> 8, kHeight & 0xFF, 0, 0};
    const std::uint32_t pixels = kWidth * kHeight;
    for (int shift = 24; shift >= 0; shift -= 8)
        frame.push_back(static_cast<std::uint8_t>(pixels >> shift));
    for (std::uint32_t i = 0; i < pixels; ++i)
        frame.push_back(static_cast<std::uint8_t>(i));
    const long before = PeakKiB();
    DeviceImage image;
    NullHost host;
    ImageDataProcessor processor(image, host);
    const auto start = Clock::now();
    for (std::size_t at = 0; at < frame.size(); at += 1023)
        processor.Feed(frame.data() + at, std::min<std::size_t>(1023, frame.size() - at));
    const double feed = SecondsSince(start);
    const auto bmpStart = Clock::now();
    CKlsBmpFile bmp;
    bmp.Build(image.pixels.data(), image.pixels.size(), image.width, image.height);
    const double build = SecondsSince(bmpStart);
    std::printf("image processor alone: %.2f ms for %.2f MB in 1023-byte chunks, BMP build %.2f ms, "
                "peak memory grew %ld KiB\n",
                feed * 1e3, frame.size() / (1024.0 * 1024.0), build * 1e3, PeakKiB() - before);
}

void DecodedRecords()
{
    CQuillonDoc doc;
    DecodedOutputProcessor processor(doc, {});
    const auto start = Clock::now();
    for (int i = 0; i < 100000; ++i) {
        const std::string code = "\xC4\xE3\xBA\xC3 690123456" + std::to_string(1000 + i % 9000);
        processor.Feed(reinterpret_cast<const std::uint8_t*>(code.data()), code.size());
        processor.LineQuiet(0);
    }
    const double capture = SecondsSince(start);

    ViewOptionValues options;
    options.viewMode = ViewMode::Monitor;
    options.decodedOutput = true;
    QImage pane(900, 500, QImage::Format_RGB32);
    double paint = 0;
    for (int round = 0; round < 3; ++round) {
        pane.fill(Qt::white);
        QPainter painter(&pane);
        QtPainter adapter(painter);
        const auto paintStart = Clock::now();
        DrawPane(adapter, doc, options, 900);
        paint = SecondsSince(paintStart);
    }
    std::printf("decoded output: 100000 records captured in %.3f s (%.0f records/s); one paint of the upper "
                "pane holding them %.1f ms\n",
                capture, 100000 / capture, paint * 1e3);
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    const std::string binDir = std::filesystem::canonical("/proc/self/exe").parent_path().parent_path().string();
    ThroughThePty(binDir);
    ImageInProcess();
    DecodedRecords();
    return 0;
}
