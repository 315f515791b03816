#include "support/CliOnSim.h"

#include <QImage>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <csignal>
#include <string>
#include <thread>

namespace quillon::test {
namespace {

class CaptureCli : public ::testing::Test {
protected:
    SimForTool sim;
    TempDir dir;
};

TEST_F(CaptureCli, VersionFieldsInTheDialogsOrder)
{
    const ProgramRun text = RunCliOn(sim, "version --port COM9");
    EXPECT_EQ(text.exitCode, 0) << text.err;
    EXPECT_EQ(
        text.out,
        "软件版本：V3.2.7 build 20260915\nQS-BOOT 1.04\n设备图像分辨率为：640pix × 480pix \n硬件版本：HW-B2\n"
        "设备类型：QS-2D Imager\n设备规格：640x480 CMOS, 2D/1D\n生产日期：2026-09-15\n设备序列号：QS2D2609150042\n");
    const ProgramRun json = RunCliOn(sim, "version --port COM9 --json");
    EXPECT_EQ(json.exitCode, 0);
    // The fields in the dialog's order, each by code, name and caption; and by name alone.
    const nlohmann::json version = nlohmann::json::parse(json.out);
    EXPECT_EQ(version["port"], "COM9");
    ASSERT_EQ(version["fields"].size(), 8u) << json.out;
    EXPECT_EQ(version["fields"][0], nlohmann::json({{"code", "C2"},
                                                    {"name", "firmware_version"},
                                                    {"caption", "软件版本："},
                                                    {"value", "V3.2.7 build 20260915"}}));
    EXPECT_EQ(version["fields"][1]["code"], "C1");
    EXPECT_EQ(version["fields"][7]["code"], "C5");
    EXPECT_EQ(version["named"], nlohmann::json({{"firmware_version", "V3.2.7 build 20260915"},
                                                {"device_text", "QS-BOOT 1.04"},
                                                {"resolution", "设备图像分辨率为：640pix × 480pix "},
                                                {"hardware_version", "HW-B2"},
                                                {"device_type", "QS-2D Imager"},
                                                {"specification", "640x480 CMOS, 2D/1D"},
                                                {"production_date", "2026-09-15"},
                                                {"serial_number", "QS2D2609150042"}}));

    // A catalogue that asks for two fields only: the rest never answer.
    const ProgramRun partial =
        RunCliOn(sim, "version --port COM9 --timeout 300 --catalogue tests/sim/data/sim-catalogue.xml");
    EXPECT_EQ(partial.exitCode, 1);
    EXPECT_EQ(partial.out, "软件版本：V3.2.7 build 20260915\nQS-BOOT 1.04\n");
    EXPECT_EQ(partial.err, "quillon-cli version: COM9: no answer for C3 C4 C5 C6 C7 C8\n");
}

TEST_F(CaptureCli, ImageAtEveryScaleIsTheCamerasPattern)
{
    struct Case {
        const char* option;
        int width;
        int height;
    };
    for (const Case c : {Case{"--scale 1", 640, 480}, Case{"--scale 1/2", 452, 336}, Case{"--scale 1/4", 320, 240},
                         Case{"--scale 1/8", 224, 168}, Case{"--scale 1/16", 160, 120}, Case{"--scale 1/32", 112, 84},
                         Case{"--size 101x50", 100, 48}}) {
        const std::string path = (dir.Path() / "image.bmp").string();
        const ProgramRun result = RunCliOn(sim, "image --port COM9 -o " + Quote(path) + " " + c.option);
        ASSERT_EQ(result.exitCode, 0) << c.option << ": " << result.err;
        const std::size_t stride = (static_cast<std::size_t>(c.width) + 3) / 4 * 4;
        const std::size_t size = 1078 + stride * static_cast<std::size_t>(c.height);
        EXPECT_EQ(result.out,
                  std::to_string(c.width) + " " + std::to_string(c.height) + " " + std::to_string(size) + "\n");
        EXPECT_EQ(ReadFile(path).size(), size);
        QImage image;
        ASSERT_TRUE(image.load(QString::fromStdString(path), "BMP")) << c.option;
        ASSERT_EQ(image.width(), c.width);
        ASSERT_EQ(image.height(), c.height);
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                ASSERT_EQ(qGray(image.pixel(x, y)), (x + 2 * y) & 0xFF) << c.option << " at " << x << "," << y;
    }

    // On a terminal the progress is redrawn a few times a second, not once
    // a byte, and it ends where the transfer did: at 100%.
    const std::string path = (dir.Path() / "terminal.bmp").string();
    const ProgramRun onTerminal =
        RunProgram("script -qec " + Quote(CliLineOn(sim, "image --port COM9 -o " + Quote(path))) + " /dev/null");
    EXPECT_EQ(onTerminal.exitCode, 0) << onTerminal.out;
    const std::string shown = onTerminal.out.substr(0, onTerminal.out.find("640 480"));
    std::size_t redraws = 0;
    for (std::size_t at = shown.find('\r'); at != std::string::npos; at = shown.find('\r', at + 1))
        redraws += shown.compare(at, 2, "\r\n") != 0;
    EXPECT_GE(redraws, 1u);
    EXPECT_LE(redraws, 40u) << shown;
    EXPECT_TRUE(shown.ends_with("数据提取中 100%\r\n")) << shown;
}

TEST_F(CaptureCli, BadArgumentsAndAMissingPort)
{
    struct Case {
        const char* arguments;
        int status;
    };
    for (const Case c :
         {Case{"version", 2}, Case{"version --port COM9 --verbose", 2}, Case{"image --port COM9", 2},
          Case{"image --port COM9 -o x.bmp --scale 1/3", 2}, Case{"image --port COM9 -o x.bmp --size 11x200", 2},
          Case{"listen --port COM9 --encoding latin1", 2}, Case{"version --port COM98", 3}}) {
        const ProgramRun result = RunCliOn(sim, c.arguments);
        EXPECT_EQ(result.exitCode, c.status) << c.arguments << ": " << result.err;
    }
    EXPECT_NE(RunCliOn(sim, "image --port COM9 -o x.bmp --size 11x200").err.find("提取图片设定像素超过最小限制"),
              std::string::npos);
}

// Starts listen, waits until it says it listens (what a device sends
// before is no record), then has the device scan.
ProgramRun Listen(SimProcess& sim, const std::string& arguments, const std::vector<std::string>& commands)
{
    // --seconds bounds a run whose records never all come.
    const bool timed = arguments.find("--seconds") != std::string::npos;
    RunningProgram listen(CliLineOn(sim, "listen --port COM9 " + arguments + (timed ? "" : " --seconds 10")));
    EXPECT_TRUE(listen.WaitForErr("listening on COM9"));
    for (const std::string& command : commands) {
        sim.Command(command);
        std::this_thread::sleep_for(300ms);  // each scan its own burst, as the device pauses between them
    }
    return listen.Wait();
}

TEST_F(CaptureCli, ListenInBothEncodingsAndSavesTheFile)
{
    const ProgramRun gbk = Listen(sim, "--count 2", {"scanhex C4E3BAC3", "scan 6901234567892"});
    EXPECT_EQ(gbk.exitCode, 0);
    EXPECT_EQ(gbk.out, "你好\n6901234567892\n");

    const ProgramRun utf8 = Listen(sim, "--encoding utf-8 --count 2", {"scanhex E4BDA0E5A5BD", "scanhex F09F9880"});
    EXPECT_EQ(utf8.out, "你好\n😀\n");

    // Bursts of three bytes cut both characters: each is carried to the next record.
    sim.Command("fault bursts 3,300");
    const std::string path = (dir.Path() / "codes.txt").string();
    const ProgramRun split = Listen(sim, "--encoding utf-8 --count 3 -o " + Quote(path), {"scanhex 41E4BDA0E5A5BD42"});
    EXPECT_EQ(split.out, "A\n你\n好B\n");
    EXPECT_EQ(ReadFile(path), std::string("\xFF\xFE"
                                          "A\0\r\0\n\0"
                                          "\x60\x4F\r\0\n\0"
                                          "\x7D\x59"
                                          "B\0\r\0\n\0",
                                          22));

    const ProgramRun timed = Listen(sim, "--seconds 1", {});
    EXPECT_EQ(timed.exitCode, 0);
    EXPECT_EQ(timed.out, "");
}

// Each record reaches the file as it comes, so an end by a signal keeps
// every one; a file that cannot be made is told before listening starts.
TEST_F(CaptureCli, ListenKeepsEveryRecordOnAnyEnding)
{
    const std::string path = (dir.Path() / "codes.txt").string();
    RunningProgram listen(CliLineOn(sim, "listen --port COM9 -o " + Quote(path)));
    ASSERT_TRUE(listen.WaitForErr("listening on COM9"));
    const std::string records[] = {std::string("\xFF\xFE"
                                               "A\0"
                                               "1\0\r\0\n\0",
                                               10),
                                   std::string("B\0"
                                               "2\0\r\0\n\0",
                                               8)};
    std::string expected;
    for (const char* scan : {"scan A1", "scan B2"}) {
        sim.Command(scan);
        expected += records[expected.empty() ? 0 : 1];
        for (int i = 0; i < 400 && ReadFile(path) != expected; ++i)
            std::this_thread::sleep_for(50ms);
        EXPECT_EQ(ReadFile(path), expected) << scan << ": not written as it came";
    }
    listen.Signal(SIGTERM);
    const ProgramRun ended = listen.Wait();
    EXPECT_EQ(ended.exitCode, 130);
    EXPECT_EQ(ended.out, "A1\nB2\n");
    EXPECT_NE(ended.err.find("quillon-cli listen: interrupted after 2 records, all in " + path), std::string::npos)
        << ended.err;
    EXPECT_EQ(ReadFile(path), expected);

    for (const std::string& unwritable : {(dir.Path() / "no" / "such.txt").string(), std::string("/dev/full")}) {
        const ProgramRun refused = RunCliOn(sim, "listen --port COM9 --seconds 5 -o " + Quote(unwritable));
        EXPECT_EQ(refused.exitCode, 2);
        EXPECT_NE(refused.err.find("quillon-cli listen: " + unwritable + ": 创建解码输出文件失败！"), std::string::npos)
            << refused.err;
        EXPECT_EQ(refused.err.find("listening"), std::string::npos);
    }
    // A port that does not open: an old file keeps what it held, a new one is not left behind.
    const std::string fresh = (dir.Path() / "fresh.txt").string();
    for (const std::string& output : {path, fresh}) {
        const ProgramRun missing = RunCliOn(sim, "listen --port COM77 --seconds 5 -o " + Quote(output));
        EXPECT_EQ(missing.exitCode, 3) << missing.err;
    }
    EXPECT_EQ(ReadFile(path), expected);
    EXPECT_FALSE(std::filesystem::exists(fresh));
}

TEST(CaptureCliAtLinePace, EachBarcodeIsOneRecordAtEverySpeed)
{
    // The device sends byte by byte as the line lets it: at 1,200 baud a
    // byte every 8 ms, each one read on its own.
    for (const char* baud : {"1200", "115200"}) {
        SCOPED_TRACE(baud);
        SimForTool sim({"--baud", baud}, true);
        const ProgramRun run =
            Listen(sim, std::string("--baud ") + baud + " --count 2", {"scan 6901234567892", "scan ABC-123"});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, "6901234567892\nABC-123\n");
    }
}

TEST_F(CaptureCli, ASizeTooLargeForTheReceiveAreaIsNeverRequested)
{
    // A 1.3-megapixel camera: its full size cannot be received.
    SimForTool large({"--resolution", "1280x1024"});
    const std::string path = (dir.Path() / "image.bmp").string();
    const ProgramRun full = RunCliOn(large, "image --port COM9 -o " + Quote(path) + " --scale 1");
    EXPECT_EQ(full.exitCode, 2);
    EXPECT_NE(full.err.find("提取图片设定像素超过最大限制"), std::string::npos) << full.err;
    const ProgramRun half = RunCliOn(large, "image --port COM9 -o " + Quote(path) + " --scale 1/2");
    EXPECT_EQ(half.exitCode, 0) << half.err;
    EXPECT_EQ(half.out.substr(0, 8), "904 720 ");
    // The only image the device was asked for is the one that fits.
    EXPECT_NE(large.WaitForLine("image ").find("image 904x720 sent"), std::string::npos);
}

}  // namespace
}  // namespace quillon::test
