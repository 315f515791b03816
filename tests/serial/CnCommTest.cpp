#include <gtest/gtest.h>

#include <dirent.h>

#include <chrono>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "serial/CnComm.h"
#include "serial/PtyPair.h"

namespace quillon::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr uint32_t kSystemOptions = kCommEventThread | kCommOverlapped | kCommReceiveBuffer;

std::string TakeAll(CnComm& comm)
{
    std::string bytes;
    std::lock_guard lock(comm.Input().Mutex());
    bytes.resize(comm.Input().Total());
    comm.Input().Take(bytes.data(), uint32_t(bytes.size()));
    return bytes;
}

int64_t MsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// Opens a channel with `options` on COMn linked to the pair's slave; its
// notifications go to `notes` when one is given.
void OpenOn(CnComm& comm, const PtyPair& line, int number, uint32_t options, RecordingSink* notes, int baud = 115200)
{
    ASSERT_TRUE(PublishPortLink(number, line.SlavePath()));
    comm.SetOptions(options);
    if (notes)
        comm.SetNotificationSink(notes);
    ASSERT_TRUE(comm.OpenByNumber(number, baud));
}

class CnCommTest : public ::testing::Test {
protected:
    // Opens a channel with `options` on COMn linked to the pair's slave,
    // reporting to the fixture's sink.
    void Open(CnComm& comm, const PtyPair& pty, int number, uint32_t options = kSystemOptions)
    {
        OpenOn(comm, pty, number, options, &sink);
    }

    PortSandbox sandbox;
    PtyPair pty;
    RecordingSink sink;
};

TEST_F(CnCommTest, RefusesBadPortOrSpeedWithoutTouchingTheOpenPort)
{
    CnComm comm;
    Open(comm, pty, 5);
    ASSERT_TRUE(PublishPortLink(1025, pty.SlavePath()));
    const struct {
        int port;
        int baud;
    } refused[] = {{0, 115200}, {1025, 115200}, {-3, 115200}, {5, 0}, {5, -9600}};
    for (const auto& [port, baud] : refused) {
        SCOPED_TRACE(std::to_string(port) + "@" + std::to_string(baud));
        EXPECT_FALSE(comm.OpenByNumber(port, baud));
        EXPECT_TRUE(comm.IsOpen());
        EXPECT_EQ(comm.PortNumber(), 5);
    }
    pty.Write("ok");
    ASSERT_TRUE(sink.WaitFor(kNotifyReceived, 1));
    EXPECT_EQ(TakeAll(comm), "ok");

    CnComm closed;
    EXPECT_FALSE(closed.OpenByNumber(0, 115200));
    EXPECT_FALSE(closed.IsOpen());
}

TEST_F(CnCommTest, OpenFailsForAPortWithNoDevice)
{
    CnComm comm;
    EXPECT_FALSE(comm.OpenByNumber(77, 115200));
    ASSERT_TRUE(PublishPortLink(78, (sandbox.Dir().Path() / "missing").string()));
    EXPECT_FALSE(comm.OpenByNumber(78, 115200));
    EXPECT_FALSE(comm.IsOpen());
}

TEST_F(CnCommTest, SpeedsWithoutATermiosCodeAreAccepted)
{
    for (int baud : {256000, 128000, 460800, 4800}) {
        CnComm comm(kSystemOptions);
        ASSERT_TRUE(PublishPortLink(6, pty.SlavePath()));
        EXPECT_TRUE(comm.OpenByNumber(6, baud)) << baud;
    }
}

TEST_F(CnCommTest, EachBurstFillsTheBufferAndRaisesOneNotificationWithThePort)
{
    CnComm comm;
    Open(comm, pty, 7);
    const std::string bursts[] = {"\x24\x10\x40\x01", std::string(3000, 'x'), "last"};
    for (size_t i = 0; i < std::size(bursts); ++i) {
        pty.Write(bursts[i]);
        ASSERT_TRUE(sink.WaitFor(kNotifyReceived, i + 1));
        std::this_thread::sleep_for(250ms);
        EXPECT_EQ(sink.Count(kNotifyReceived), i + 1);
        EXPECT_EQ(TakeAll(comm), bursts[i]);
    }
    for (const auto& note : sink.Notes()) {
        EXPECT_EQ(note.port, 7);
        EXPECT_EQ(note.argument, 0);
    }
    EXPECT_EQ(comm.BytesRead(), 4u + 3000u + 4u);
}

TEST_F(CnCommTest, OneMebibyteInRandomPiecesArrivesIntactAndInOrder)
{
    CnComm comm;
    Open(comm, pty, 8);
    std::mt19937 random(42);
    std::string data(1 << 20, '\0');
    for (char& c : data)
        c = char(random());
    std::thread device([&] {
        std::mt19937 sizes(7);
        for (size_t at = 0; at < data.size();) {
            const size_t piece = std::min<size_t>(1 + sizes() % 5000, data.size() - at);
            pty.Write(data.substr(at, piece));
            at += piece;
        }
    });
    std::string got;
    const auto start = Clock::now();
    while (got.size() < data.size() && MsSince(start) < 30000) {
        sink.WaitFor(kNotifyReceived, sink.Count(kNotifyReceived) + 1, 200);
        got += TakeAll(comm);
    }
    device.join();
    ASSERT_EQ(got.size(), data.size());
    EXPECT_TRUE(got == data);
}

TEST_F(CnCommTest, FramesSentBackToBackArriveWholeAndInOrder)
{
    CnComm comm;
    Open(comm, pty, 9);
    std::string expected;
    std::string received;
    std::thread device([&] { received = pty.Read(2000 * 7, 10000); });
    for (int i = 0; i < 2000; ++i) {
        char frame[7] = {0x7E, char(i >> 8), char(i), 0x03, 0x01, 0x02, char(0xC1)};
        ASSERT_EQ(comm.Send(frame, 7), 7u);
        expected.append(frame, 7);
    }
    device.join();
    EXPECT_TRUE(received == expected);
    EXPECT_EQ(comm.BytesWritten(), 14000u);
}

TEST_F(CnCommTest, ClosingTheFarSideRaisesOnePortFailure)
{
    const struct {
        const char* name;
        uint32_t options;
    } arrangements[] = {
        {"event thread", kSystemOptions},
        {"polled event thread", kCommEventThread | kCommReceiveBuffer},
        {"event and receive threads", kSystemOptions | kCommReceiveThread},
    };
    int number = 10;
    for (const auto& [name, options] : arrangements) {
        SCOPED_TRACE(name);
        PtyPair line;
        RecordingSink notes;
        CnComm comm;
        ASSERT_NO_FATAL_FAILURE(OpenOn(comm, line, number, options, &notes));
        line.CloseMaster();
        ASSERT_TRUE(notes.WaitFor(kNotifyPortFailure, 1));
        std::this_thread::sleep_for(200ms);
        EXPECT_EQ(notes.Count(kNotifyPortFailure), 1u);
        EXPECT_EQ(notes.Notes().back().port, number);
        comm.Shutdown(500);
        EXPECT_FALSE(comm.IsOpen());
        ++number;
    }
}

TEST_F(CnCommTest, ReopeningShutsTheOldPortFirstAndASecondOpenerIsKeptOut)
{
    PtyPair other;
    CnComm comm;
    Open(comm, pty, 11);
    CnComm rival;
    EXPECT_FALSE(rival.OpenByNumber(11, 9600));

    ASSERT_TRUE(PublishPortLink(12, other.SlavePath()));
    ASSERT_TRUE(comm.OpenByNumber(12, 9600));
    EXPECT_EQ(comm.PortNumber(), 12);
    EXPECT_TRUE(rival.OpenByNumber(11, 9600));

    other.Write("b");
    ASSERT_TRUE(sink.WaitFor(kNotifyReceived, 1));
    EXPECT_EQ(sink.Notes().back().port, 12);
}

TEST_F(CnCommTest, ReadRawEndsAtTheIntervalAndTotalTimeouts)
{
    struct Case {
        const char* name;
        uint32_t options;
        int bytes;         // bytes the device sends
        int spacingMs;     // pause between them
        uint32_t minGot;
        int minMs, maxMs;
    } cases[] = {
        {"count arrives", kCommOverlapped, 16, 0, 16, 0, 90},
        {"gap after bytes", kCommOverlapped, 5, 0, 5, 90, 300},
        {"trickle hits total", kCommOverlapped, 40, 40, 8, 480, 800},
        {"silence hits total", kCommOverlapped, 0, 0, 0, 480, 800},
        {"silence, short total", 0, 0, 0, 0, 230, 500},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PtyPair line;
        CnComm comm;
        ASSERT_NO_FATAL_FAILURE(OpenOn(comm, line, 13, c.options, nullptr));
        std::thread device([&] {
            for (int i = 0; i < c.bytes; ++i) {
                line.Write("z");
                std::this_thread::sleep_for(std::chrono::milliseconds(c.spacingMs));
            }
        });
        char buffer[16];
        const auto start = Clock::now();
        const uint32_t got = comm.ReadRaw(buffer, sizeof buffer);
        const int64_t took = MsSince(start);
        device.join();
        EXPECT_GE(got, c.minGot);
        EXPECT_GE(took, c.minMs);
        EXPECT_LE(took, c.maxMs);
    }
}

TEST_F(CnCommTest, ShutdownOfAClosedChannelDoesNothing)
{
    CnComm comm;
    comm.Shutdown(500);
    EXPECT_FALSE(comm.IsOpen());
    Open(comm, pty, 14);
    comm.Shutdown(500);
    comm.Shutdown(500);
    EXPECT_FALSE(comm.IsOpen());
    EXPECT_EQ(comm.Send("x", 1), 0u);
    char byte;
    EXPECT_EQ(comm.ReadRaw(&byte, 1), 0u);
}

TEST_F(CnCommTest, BufferedBytesSurviveShutdownUntilTaken)
{
    CnComm comm;
    Open(comm, pty, 15);
    pty.Write("keep");
    ASSERT_TRUE(sink.WaitFor(kNotifyReceived, 1));
    comm.Shutdown(500);
    EXPECT_EQ(TakeAll(comm), "keep");
}

TEST_F(CnCommTest, ReceiveThresholdHoldsTheNotificationBack)
{
    CnComm comm;
    comm.SetReceiveThreshold(10);
    Open(comm, pty, 16);
    pty.Write("12345");
    EXPECT_FALSE(sink.WaitFor(kNotifyReceived, 1, 400));
    pty.Write("67890");
    ASSERT_TRUE(sink.WaitFor(kNotifyReceived, 1));
    EXPECT_EQ(TakeAll(comm), "1234567890");
}

TEST_F(CnCommTest, WithoutReceiveBufferingTheBytesWaitForReadRaw)
{
    CnComm comm;
    Open(comm, pty, 17, kCommEventThread | kCommOverlapped);
    pty.Write("raw");
    ASSERT_TRUE(sink.WaitFor(kNotifyReceived, 1));
    {
        std::lock_guard lock(comm.Input().Mutex());
        EXPECT_EQ(comm.Input().Total(), 0u);
    }
    char buffer[3];
    EXPECT_EQ(comm.ReadRaw(buffer, 3), 3u);
    EXPECT_EQ(std::string(buffer, 3), "raw");
}

// The receive side under each way of running the workers.
TEST_F(CnCommTest, ReceivingWorksInEveryWorkerArrangement)
{
    const struct {
        const char* name;
        uint32_t options;
    } arrangements[] = {
        {"event thread, polled", kCommEventThread | kCommReceiveBuffer},
        {"receive thread only", kCommReceiveThread | kCommOverlapped | kCommReceiveBuffer},
        {"event and receive threads", kSystemOptions | kCommReceiveThread},
        {"raised priority", kSystemOptions | kCommHighPriority},
    };
    int number = 20;
    for (const auto& [name, options] : arrangements) {
        SCOPED_TRACE(name);
        PtyPair line;
        RecordingSink notes;
        CnComm comm;
        ASSERT_NO_FATAL_FAILURE(OpenOn(comm, line, number, options, &notes, 57600));
        line.Write("payload");
        ASSERT_TRUE(notes.WaitFor(kNotifyReceived, 1));
        std::this_thread::sleep_for(150ms);
        EXPECT_EQ(TakeAll(comm), "payload");
        EXPECT_EQ(notes.Notes().front().port, number);
        ++number;
    }
}

TEST_F(CnCommTest, SuspendedWorkersWaitForResume)
{
    CnComm comm;
    Open(comm, pty, 30, kSystemOptions | kCommSuspended);
    pty.Write("late");
    EXPECT_FALSE(sink.WaitFor(kNotifyReceived, 1, 400));
    comm.ResumeThreads();
    ASSERT_TRUE(sink.WaitFor(kNotifyReceived, 1));
    EXPECT_EQ(TakeAll(comm), "late");
}

// Niceness of the live thread named `name`, if there is one.
std::optional<int> NiceOfThread(const std::string& name)
{
    DIR* tasks = ::opendir("/proc/self/task");
    std::optional<int> nice;
    while (dirent* task = tasks ? ::readdir(tasks) : nullptr) {
        const std::string base = std::string("/proc/self/task/") + task->d_name;
        std::string comm;
        std::getline(std::ifstream(base + "/comm"), comm);
        if (comm != name)
            continue;
        std::string stat;
        std::getline(std::ifstream(base + "/stat"), stat);
        std::istringstream fields(stat.substr(stat.rfind(')') + 2));
        std::string field;
        for (int i = 3; i <= 19 && fields >> field; ++i) {
        }
        nice = std::stoi(field);
    }
    if (tasks)
        ::closedir(tasks);
    return nice;
}

// The workers name themselves as they start; give them a moment.
std::optional<int> AwaitNiceOfThread(const std::string& name)
{
    for (int i = 0; i < 100; ++i) {
        if (const auto nice = NiceOfThread(name))
            return nice;
        std::this_thread::sleep_for(10ms);
    }
    return std::nullopt;
}

TEST_F(CnCommTest, RaisedPriorityLowersTheWorkersNicenessWhenPermitted)
{
    CnComm plain;
    Open(plain, pty, 31);
    ASSERT_EQ(AwaitNiceOfThread("comm-event"), 0);
    plain.Shutdown(500);

    CnComm raised;
    Open(raised, pty, 31, kSystemOptions | kCommHighPriority);
    std::this_thread::sleep_for(50ms);
    const auto nice = AwaitNiceOfThread("comm-event");
    ASSERT_TRUE(nice.has_value());
    if (::geteuid() == 0)
        EXPECT_LT(*nice, 0);
    else
        EXPECT_LE(*nice, 0);
}

TEST_F(CnCommTest, TransmitBufferingQueuesAndAWorkerWritesInOrder)
{
    const struct {
        const char* name;
        uint32_t options;
    } arrangements[] = {
        {"event thread sends", kSystemOptions | kCommTransmitBuffer},
        {"polled event thread sends", kCommEventThread | kCommTransmitBuffer},
        {"transmit thread sends", kSystemOptions | kCommTransmitBuffer | kCommTransmitThread},
    };
    int number = 40;
    for (const auto& [name, options] : arrangements) {
        SCOPED_TRACE(name);
        PtyPair line;
        CnComm comm;
        ASSERT_NO_FATAL_FAILURE(OpenOn(comm, line, number, options, nullptr));
        std::string expected;
        std::string received;
        std::thread device([&] { received = line.Read(300 * 40, 10000); });
        for (int i = 0; i < 300; ++i) {
            const std::string frame = std::to_string(100000 + i) + std::string(34, char('a' + i % 26));
            EXPECT_EQ(comm.Send(frame.data(), uint32_t(frame.size())), 0u);
            expected += frame;
        }
        comm.DrainTransmit();
        {
            std::lock_guard lock(comm.Output().Mutex());
            EXPECT_EQ(comm.Output().Total(), 0u);
        }
        device.join();
        EXPECT_TRUE(received == expected);
        ++number;
    }
}

TEST_F(CnCommTest, DrainOnCloseSendsTheQueueBeforeStopping)
{
    CnComm comm;
    Open(comm, pty, 50,
         kSystemOptions | kCommTransmitBuffer | kCommTransmitThread | kCommDrainOnClose |
             kCommFlushOnClose);
    const std::string data(64 * 1024, 'q');
    std::string received;
    std::thread device([&] { received = pty.Read(data.size(), 10000); });
    comm.Send(data.data(), uint32_t(data.size()));
    comm.Shutdown(5000);
    device.join();
    EXPECT_EQ(received.size(), data.size());
}

TEST_F(CnCommTest, DirectWritesRaiseTransmitEmpty)
{
    CnComm comm;
    Open(comm, pty, 51);
    EXPECT_EQ(comm.Send("ping", 4), 4u);
    EXPECT_EQ(pty.Read(4), "ping");
    EXPECT_TRUE(sink.WaitFor(kNotifyTxEmpty, 1));
}

}  // namespace
}  // namespace quillon::test
