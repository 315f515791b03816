// Whole downloads against the simulator's loader over its pseudo-terminal,
// and against a device played by the test where the simulator cannot
// misbehave in the way wanted (silence, a loader that never says "8").
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <future>
#include <thread>

#include "serial/PortText.h"
#include "serial/PtyPair.h"
#include "serial/SerialLine.h"
#include "sim/SimProcess.h"
#include "tools/FirmwareDownload.h"
#include "tools/FirmwareFixtures.h"

namespace quillon::test {
namespace {

// Short enough that a silent device fails a test quickly, long enough for
// a loaded machine.
const CommTimeouts kImpatient{300, 0, 400, 1000, 600};

std::string WithoutLastLineEnd(std::string hex)
{
    while (!hex.empty() && (hex.back() == '\n' || hex.back() == '\r'))
        hex.pop_back();
    return hex;
}

std::string LowerCase(std::string hex)
{
    std::transform(hex.begin(), hex.end(), hex.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return hex;
}

std::string LineFeedsOnlyUnended(std::string hex)
{
    std::erase(hex, '\r');
    return WithoutLastLineEnd(hex);
}

// The object's bytes placed just below a 64 KiB boundary, in a file whose
// first record, 02000004000FEB, is byte for byte the loader's erase request.
std::string FirstRecordLikeErase(std::string)
{
    return LinearHex(0x000FFF00, ReadFile(QUILLON_SIM_FIRMWARE_BIN));
}

bool Rising(const std::vector<int>& percents)
{
    return std::is_sorted(percents.begin(), percents.end()) &&
           std::adjacent_find(percents.begin(), percents.end()) == percents.end();
}

// The port can be had again at once: the download closed it.
bool PortIsFree(const std::string& path)
{
    const int fd = OpenSerialLine(path);
    if (fd >= 0)
        CloseSerialLine(fd);
    return fd >= 0;
}

class SimDownloadTest : public ::testing::Test {
protected:
    fs::path Saved() const { return dir.Path() / "received.bin"; }
    fs::path File(const char* name, const std::string& bytes) const
    {
        const fs::path path = dir.Path() / name;
        WriteFile(path, bytes);
        return path;
    }
    // The simulator's line is the download's alone.
    DownloadOutcome Download(SimProcess& sim, const fs::path& file, LoaderOptions options = {})
    {
        sim.ClosePort();
        options.settleMs = 0;
        return RunFirmwareDownload({sim.LinkPath(), file.string(), options}, progress, stop);
    }
    std::vector<std::string> SimArgs(std::vector<std::string> more = {}) const
    {
        more.insert(more.begin(), {"--firmware-out", Saved().string()});
        return more;
    }

    TempDir dir;
    ProgressLog progress;
    StopSignal stop;
};

struct HexCase {
    const char* name;
    std::string (*shape)(std::string);
    LoaderOptions options;
    bool erases;
    std::vector<std::string> faults = {};
};

class HexDownloadTest : public SimDownloadTest, public ::testing::WithParamInterface<HexCase> {};

// A compiled object's data made into Intel HEX, in the shapes such files
// come in; the loader must end up holding exactly the object's bytes.
TEST_P(HexDownloadTest, TheLoaderHoldsTheObjectsBytes)
{
    const HexCase& c = GetParam();
    SimProcess sim(SimArgs(c.faults));
    sim.Send(HexBytes("21304000"));  // a setting that an erase puts back
    ASSERT_EQ(HexText(sim.Read(4)), "33764200");
    const fs::path file = File("firmware.hex", c.shape(ReadFile(QUILLON_SIM_FIRMWARE_HEX)));
    const DownloadOutcome outcome = Download(sim, file, c.options);
    EXPECT_EQ(outcome.result, DownloadResult::HexLoaded);
    EXPECT_EQ(ReadFile(Saved()), ReadFile(QUILLON_SIM_FIRMWARE_BIN));
    const auto percents = progress.Percents();
    ASSERT_FALSE(percents.empty());
    EXPECT_EQ(percents.back(), 100);
    EXPECT_TRUE(Rising(percents));
    EXPECT_TRUE(PortIsFree(sim.LinkPath()));
    // Back from the loader the device answers requests again.  A first
    // record equal to the erase request erases: the device cannot tell them apart.
    sim.OpenPort();
    sim.Send(HexBytes("233040"));
    EXPECT_EQ(HexText(sim.Read(4)), c.erases ? "24304001" : "24304000");
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, HexDownloadTest,
    ::testing::Values(
        HexCase{"AsObjcopyWritesIt", [](std::string s) { return s; }, {}, false},
        HexCase{"LowerCaseUnended", [](std::string s) { return WithoutLastLineEnd(LowerCase(s)); }, {}, false},
        HexCase{"EraseFirst", [](std::string s) { return s; }, {true, false}, true},
        HexCase{"RepairWithoutHandshake", LineFeedsOnlyUnended, {false, true}, false},
        HexCase{"RepairAndErase", LowerCase, {true, true}, true},
        HexCase{"FirstRecordLikeErase", FirstRecordLikeErase, {}, true},
        HexCase{"FirstRecordLikeEraseRepair", FirstRecordLikeErase, {false, true}, true},
        // Every answer that means "taken, go on", and answers that come late.
        HexCase{"RecordsAnsweredA", [](std::string s) { return s; }, {}, false, {"--fault", "record-answer=A"}},
        HexCase{"RecordsAnswered6", [](std::string s) { return s; }, {}, false, {"--fault", "record-answer=6"}},
        HexCase{"RecordsAnswered7", [](std::string s) { return s; }, {}, false, {"--fault", "record-answer=7"}},
        HexCase{"AnsweredLate", [](std::string s) { return s; }, {true, false}, true, {"--fault", "late-loader=100"}}),
    [](const auto& row) { return std::string(row.param.name); });

struct ImageCase {
    const char* name;
    std::string header;
    std::size_t size;
    bool erase;
    int beforeAnswer;  // the bar's step before it reaches 100
};

class ImageDownloadTest : public SimDownloadTest, public ::testing::WithParamInterface<ImageCase> {};

TEST_P(ImageDownloadTest, TheLoaderHoldsTheImageWithoutItsHeaders)
{
    const ImageCase& c = GetParam();
    SimProcess sim(SimArgs());
    const std::string image = Payload(c.size);
    const DownloadOutcome outcome = Download(sim, File("firmware.ci", c.header + image), {c.erase, false});
    EXPECT_EQ(outcome.result, DownloadResult::ImageUpgraded);
    EXPECT_EQ(ReadFile(Saved()), image);
    const auto percents = progress.Percents();
    ASSERT_GE(percents.size(), 1u);
    EXPECT_EQ(percents.back(), 100);
    EXPECT_EQ(percents.size() > 1 ? percents[percents.size() - 2] : 100, c.beforeAnswer);
    EXPECT_TRUE(Rising(percents));
    EXPECT_TRUE(PortIsFree(sim.LinkPath()));
}

// 100 blocks leave a tenth of the bar for the device's answer.
INSTANTIATE_TEST_SUITE_P(Images, ImageDownloadTest,
                         ::testing::Values(ImageCase{"BothHeaders", "v=b=1234s=t=ABv=b=5678", 3 * 4096 + 1234, false,
                                                     75},
                                           ImageCase{"VersionHeaderOnly", "v=b=1234", 2 * 4096, false, 50},
                                           ImageCase{"NoHeaders", "", 5 * 4096 + 1, true, 83},
                                           ImageCase{"ShorterThanABlock", "", 100, false, 100},
                                           ImageCase{"HundredBlocks", "", 409600, false, 90}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(SimDownloadTest, TheDeviceRefusesAndTheTransferEnds)
{
    // ":0100000600F9" is well formed, but of a record type the loader does not know.
    const std::string refusedRecord = ":020000040800F2\r\n:0400000001ABCDEF94\r\n:0100000600F9\r\n:00000001FF\r\n";
    const struct {
        const char* name;
        std::vector<std::string> faults;
        std::string file;
        DownloadResult result;
        std::uint8_t reply;
        int lastPercent;
    } cases[] = {
        {"image answered 5", {"--fault", "firmware-fail"}, Payload(3 * 4096), DownloadResult::ImageRefused, 0, 100},
        {"record answered 9", {}, refusedRecord, DownloadResult::ReplyRefused, '9', 50},
        {"handshake answered wrongly", {"--fault", "garbage"}, Payload(4096), DownloadResult::HandshakeFailed, 0, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProgressLog log;
        SimProcess sim(SimArgs(c.faults));
        sim.ClosePort();
        const DownloadOutcome outcome =
            RunFirmwareDownload({sim.LinkPath(), File("firmware.ci", c.file).string(), {}}, log, stop);
        EXPECT_EQ(outcome.result, c.result);
        EXPECT_EQ(outcome.reply, c.reply);
        const auto percents = log.Percents();
        EXPECT_EQ(percents.empty() ? -1 : percents.back(), c.lastPercent);
        EXPECT_TRUE(PortIsFree(sim.LinkPath()));
    }
}

TEST_F(SimDownloadTest, AnEraseAnsweredShortEndsOnlyItsWait)
{
    // Patient enough for the image's answer, which comes once the line is quiet.
    const CommTimeouts kShortErase{300, 0, 3000, 1000, 600};
    SimProcess sim(SimArgs({"--fault", "short-erase"}));
    sim.ClosePort();
    LoaderOptions options{true, false};
    options.settleMs = 0;
    const std::string image = Payload(5000);
    const DownloadOutcome outcome = RunFirmwareDownload(
        {sim.LinkPath(), File("firmware.ci", image).string(), options, kShortErase}, progress, stop);
    EXPECT_EQ(outcome.result, DownloadResult::ImageUpgraded);
    EXPECT_EQ(ReadFile(Saved()), image);
}

TEST_F(SimDownloadTest, AnUnpluggedPortStopsTheTransferWithAMessage)
{
    SimProcess sim(SimArgs());
    const fs::path hex = dir.Path() / "large.hex";
    ASSERT_FALSE(ObjcopyHex(File("large.bin", Payload(256 << 10)), hex, 0x08000000).empty());
    // Pulled when a tenth has gone, from the transferring thread itself.
    class Unplugger : public IDownloadObserver {
    public:
        explicit Unplugger(SimProcess& sim) : sim_(sim) {}
        void OnProgress(int percent) override
        {
            if (percent == 10)
                sim_.Command("unplug");
        }

    private:
        SimProcess& sim_;
    } unplugger(sim);
    sim.ClosePort();
    const auto outcome = RunFirmwareDownload({sim.LinkPath(), hex.string(), {}}, unplugger, stop);
    EXPECT_EQ(outcome.result, DownloadResult::PortLost);
}

TEST_F(SimDownloadTest, CancelStopsTheWorkerAndFreesThePort)
{
    SimProcess sim(SimArgs());
    const fs::path hex = dir.Path() / "large.hex";
    ASSERT_FALSE(ObjcopyHex(File("large.bin", Payload(256 << 10)), hex, 0x08000000).empty());
    sim.ClosePort();
    // The device path itself, as an operator may type it.
    const std::string device = fs::canonical(sim.LinkPath()).string();
    CFirmwareWorker worker;
    std::atomic<int> finished = 0;
    ASSERT_TRUE(worker.Start({device, hex.string(), {}}, progress, [&](const DownloadOutcome&) { ++finished; }));
    EXPECT_FALSE(worker.Start({device, hex.string(), {}}, progress, [](const DownloadOutcome&) {}));
    for (int i = 0; i < 1000 && (progress.Percents().empty() || progress.Percents().back() < 5); ++i)
        std::this_thread::sleep_for(10ms);
    ASSERT_FALSE(progress.Percents().empty());
    ASSERT_GE(progress.Percents().back(), 5);
    worker.Cancel();
    EXPECT_FALSE(worker.Running());
    EXPECT_LT(progress.Percents().back(), 100);
    EXPECT_EQ(finished, 0);
    EXPECT_TRUE(PortIsFree(device));
}

// The device played on the master side of a pseudo-terminal.
class PlayedDeviceTest : public ::testing::Test {
protected:
    // Runs the download on a worker while `device` plays the other end.
    DownloadOutcome Download(const std::string& content, LoaderOptions options, const std::function<void()>& device)
    {
        const fs::path file = Firmware(content);
        options.settleMs = 0;
        std::promise<DownloadOutcome> done;
        worker.Start({pty.SlavePath(), file.string(), options, kImpatient}, progress,
                     [&](const DownloadOutcome& outcome) { done.set_value(outcome); });
        device();
        auto outcome = done.get_future();
        EXPECT_EQ(outcome.wait_for(10s), std::future_status::ready);
        return outcome.get();
    }
    // Reads one record the download sent; empty when none came.
    std::string ReadRecord() const
    {
        const std::string count = pty.Read(1, 2000);
        return count.empty() ? count : count + pty.Read(std::uint8_t(count[0]) + 4, 2000);
    }

    // Named as its content is: HEX text or an image.
    fs::path Firmware(const std::string& content) const
    {
        const fs::path file = dir.Path() / (content.starts_with(':') ? "firmware.hex" : "firmware.ci");
        WriteFile(file, content);
        return file;
    }

    PtyPair pty;
    TempDir dir;
    ProgressLog progress;
    CFirmwareWorker worker;
};

TEST_F(PlayedDeviceTest, TenRecordsTakenWithoutAFinalEightShowEveryTenthAndSaySo)
{
    std::string hex;
    for (int i = 0; i < 10; ++i)
        hex += ":0100000000FF\r\n";
    const auto outcome = Download(hex, {false, true}, [&] {
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(ReadRecord(), std::string("\x01\x00\x00\x00\x00\xFF", 6));
            pty.Write("1");
        }
    });
    EXPECT_EQ(outcome.result, DownloadResult::HexUnfinished);
    EXPECT_EQ(progress.Percents(), (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
}

TEST_F(PlayedDeviceTest, SilenceEndsTheTransferAndClosesThePort)
{
    const struct {
        const char* name;
        std::string content;
        LoaderOptions options;
        bool answerHandshake;
        DownloadResult result;
    } cases[] = {
        {"handshake unanswered", Payload(5000), {}, false, DownloadResult::HandshakeFailed},
        {"image end unanswered", Payload(5000), {}, true, DownloadResult::NoReply},
        {"record unanswered", ":00000001FF\r\n", {false, true}, false, DownloadResult::NoReply},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto outcome = Download(c.content, c.options, [&] {
            if (c.answerHandshake) {
                EXPECT_EQ(pty.Read(3), "\x32\x77\x03");
                pty.Write(std::string("\x33\x77\x03\x00\x00", 5));
            }
        });
        EXPECT_EQ(outcome.result, c.result);
        pty.Read(1 << 20, 100);  // what was sent
        EXPECT_TRUE(PortIsFree(pty.SlavePath()));
    }
}

TEST_F(PlayedDeviceTest, ACancelDropsWhatTheDeviceHasNotRead)
{
    // A device that stops reading mid-image: what waits on the line is
    // dropped at the cancel, so the close does not wait for it to drain.
    const fs::path file = Firmware(Payload(1 << 20));
    ASSERT_TRUE(
        worker.Start({pty.SlavePath(), file.string(), {}, kImpatient}, progress, [](const DownloadOutcome&) {}));
    EXPECT_EQ(pty.Read(3), "\x32\x77\x03");
    pty.Write(std::string("\x33\x77\x03\x00\x00", 5));
    // Sixteen blocks are taken; the line holds only a few more.
    ASSERT_EQ(pty.Read(16 * 4096).size(), 16 * 4096u);
    for (int i = 0; i < 1000 && progress.Percents().empty(); ++i)
        std::this_thread::sleep_for(10ms);
    ASSERT_FALSE(progress.Percents().empty());
    pty.WatchFlushes();
    worker.Cancel();
    EXPECT_TRUE(pty.OutputFlushed(2000));
    EXPECT_TRUE(PortIsFree(pty.SlavePath()));
}

TEST_F(PlayedDeviceTest, AnEraseAnsweredShortOrNotAtAllEndsOnlyItsWait)
{
    using namespace std::string_literals;
    const std::string record("\x00\x00\x00\x01\xFF", 5);
    const struct {
        const char* name;
        std::string content;
        LoaderOptions options;
        std::string erase;   // what the device reads first
        std::string answer;  // and answers
        DownloadResult result;
    } cases[] = {
        {"HEX erase unanswered",
         ":00000001FF\r\n",
         {true, true},
         "\x02\x00\x00\x04\x00\x0F\xEB"s,
         "",
         DownloadResult::HexLoaded},
        {"image erase answered short",
         Payload(100),
         {true, false},
         "\x32\x77\x02",
         "\x33\x77",
         DownloadResult::ImageUpgraded},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto outcome = Download(c.content, c.options, [&] {
            EXPECT_EQ(pty.Read(c.erase.size()), c.erase);
            pty.Write(c.answer);
            if (c.content.starts_with(':')) {
                EXPECT_EQ(ReadRecord(), record);
                pty.Write("8");
                return;
            }
            EXPECT_EQ(pty.Read(3), "\x32\x77\x03");
            pty.Write(std::string("\x33\x77\x03\x00\x00", 5));
            EXPECT_EQ(pty.Read(100), Payload(100));
            pty.Write("8");
        });
        EXPECT_EQ(outcome.result, c.result);
    }
}

TEST_F(PlayedDeviceTest, ABadFileOrPortSendsNothing)
{
    const int holder = OpenSerialLine(pty.SlavePath());
    ASSERT_GE(holder, 0);
    PortSandbox sandbox;
    const struct {
        const char* name;
        std::string port;
        std::string content;
        DownloadResult result;
    } cases[] = {
        {"port held by another", pty.SlavePath(), Payload(100), DownloadResult::PortUnavailable},
        {"no such COM", "COM77", Payload(100), DownloadResult::PortUnavailable},
        {"not a port name", "ttyUSB0", Payload(100), DownloadResult::PortUnavailable},
        {"malformed record", "COM77", ":020000040800F2\r\n:0100000600F8\r\n", DownloadResult::BadHexLine},
        {"empty file", "COM77", "", DownloadResult::FileEmpty},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto outcome = RunFirmwareDownload({c.port, Firmware(c.content).string(), {}}, progress, StopSignal());
        EXPECT_EQ(outcome.result, c.result);
    }
    EXPECT_EQ(RunFirmwareDownload({pty.SlavePath(), "", {}}, progress, StopSignal()).result, DownloadResult::NoFile);
    CloseSerialLine(holder);
    const fs::path malformed = Firmware(":020000040800F2\r\n:0100000600F8\r\n");
    EXPECT_EQ(RunFirmwareDownload({pty.SlavePath(), malformed.string(), {}}, progress, StopSignal()).problem.line, 2);
    EXPECT_EQ(pty.Read(1, 200), "") << "nothing of a malformed file reaches the device";
    EXPECT_TRUE(progress.Percents().empty());
}

TEST(PortTextTest, ComNamesAndDevicePaths)
{
    PortSandbox sandbox;
    PtyPair pty;
    ASSERT_TRUE(PublishPortLink(12, pty.SlavePath()));
    const struct {
        const char* text;
        std::optional<int> number;
        std::optional<std::string> path;
    } cases[] = {
        {"COM12", 12, pty.SlavePath()},
        {" com12 ", 12, pty.SlavePath()},
        {"COM13", 13, std::nullopt},
        {"COM0", std::nullopt, std::nullopt},
        {"COM1025", std::nullopt, std::nullopt},
        {"COM-1", std::nullopt, std::nullopt},
        {"COM12x", std::nullopt, std::nullopt},
        {"COM", std::nullopt, std::nullopt},
        {"/dev/ttyUSB0", std::nullopt, "/dev/ttyUSB0"},
        {"ttyUSB0", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PortNumberFromText(c.text), c.number) << c.text;
        EXPECT_EQ(DevicePathForPortText(c.text), c.path) << c.text;
    }
}

}  // namespace
}  // namespace quillon::test
