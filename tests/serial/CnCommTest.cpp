#include <gtest/gtest.h>

#include <sys/syscall.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "serial/CnComm.h"
#include "serial/PtyPair.h"

namespace quillon::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::string TakeAll(CnComm& comm)
{
    std::lock_guard lock(comm.Input().Mutex());
    std::string bytes(comm.Input().Total(), '\0');
    comm.Input().Take(bytes.data(), uint32_t(bytes.size()));
    return bytes;
}

int64_t MsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// The id of this process's live thread named `name`, waiting a moment for
// it to name itself.
std::optional<int> ThreadNamed(const std::string& name)
{
    for (int attempt = 0; attempt < 100; std::this_thread::sleep_for(10ms), ++attempt) {
        for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
            std::string comm;
            std::getline(std::ifstream(task.path() / "comm"), comm);
            if (comm == name)
                return std::stoi(task.path().filename().string());
        }
    }
    return std::nullopt;
}

// Whether the thread sits in poll() on exactly `descriptors` descriptors,
// as the kernel reports its current system call.
bool WaitsInPoll(int thread, unsigned long descriptors)
{
    std::ifstream file("/proc/self/task/" + std::to_string(thread) + "/syscall");
    long number = -1;
    std::string pollFds, count;
    file >> number >> pollFds >> count;
#ifdef SYS_poll
    const bool poll = number == SYS_poll || number == SYS_ppoll;
#else
    const bool poll = number == SYS_ppoll;
#endif
    return file && poll && std::stoul(count, nullptr, 16) == descriptors;
}

// Opens a channel on COMn linked to the pair's slave.
void OpenOn(CnComm& comm, const PtyPair& line, int number, RecordingSink* notes, int baud = 115200)
{
    ASSERT_TRUE(PublishPortLink(number, line.SlavePath()));
    comm.SetNotificationSink(notes);
    ASSERT_TRUE(comm.OpenByNumber(number, baud)) << baud;
}

class CnCommTest : public ::testing::Test {
protected:
    void Open(CnComm& channel, int number) { OpenOn(channel, pty, number, &sink); }

    PortSandbox sandbox;
    PtyPair pty;
    RecordingSink sink;
    CnComm comm;  // destroyed first
};

TEST_F(CnCommTest, RefusesBadPortOrSpeedWithoutTouchingTheOpenPort)
{
    Open(comm, 5);
    ASSERT_TRUE(PublishPortLink(1025, pty.SlavePath()));
    const struct {
        int port, baud;
    } refused[] = {{0, 115200}, {1025, 115200}, {-3, 115200}, {5, 0}, {5, -9600}};
    for (const auto& [port, baud] : refused) {
        EXPECT_FALSE(comm.OpenByNumber(port, baud)) << port << "@" << baud;
        EXPECT_TRUE(comm.IsOpen());
        EXPECT_EQ(comm.PortNumber(), 5);
    }
    pty.Write("ok");
    ASSERT_TRUE(sink.WaitFor(kNotifyReceived, 1));
    EXPECT_EQ(TakeAll(comm), "ok");

    // No link, or a link to nothing.
    CnComm closed;
    ASSERT_TRUE(PublishPortLink(78, (sandbox.Dir().Path() / "missing").string()));
    for (int port : {77, 78})
        EXPECT_FALSE(closed.OpenByNumber(port, 115200)) << port;
    EXPECT_FALSE(closed.IsOpen());
}

// A burst the line delivers in one piece raises one notification.  A long
// one may land in pieces (a pseudo-terminal passes at most a couple of
// kilobytes on at a time); each piece is notified as it lands, and the
// burst is whole and in order in the buffer.
TEST_F(CnCommTest, EachBurstFillsTheBufferAndRaisesOneNotificationWithThePort)
{
    Open(comm, 7);
    const std::string bursts[] = {"\x24\x10\x40\x01", std::string(3000, 'x'), "last"};
    size_t notes = 0;
    for (const std::string& burst : bursts) {
        SCOPED_TRACE(burst.size());
        const size_t quiet = sink.Count(kNotifyLineQuiet);
        pty.Write(burst);
        std::string got;
        while (got.size() < burst.size() && sink.WaitFor(kNotifyReceived, notes + 1)) {
            notes = sink.Count(kNotifyReceived);
            got += TakeAll(comm);
        }
        // The burst is over once the line went quiet: no notice of it can follow.
        EXPECT_TRUE(sink.WaitFor(kNotifyLineQuiet, quiet + 1));
        EXPECT_EQ(got + TakeAll(comm), burst);
        if (burst.size() < 100) {
            EXPECT_EQ(sink.Count(kNotifyReceived), notes) << "one notification for a burst in one piece";
        }
        notes = sink.Count(kNotifyReceived);
    }
    EXPECT_GE(notes, std::size(bursts));
    for (const auto& note : sink.Notes())
        EXPECT_EQ(note.port, 7);
    EXPECT_EQ(comm.BytesRead(), 3008u);
}

// However the device paces its bytes (at 1,200 baud one every 8 ms, each
// read on its own), the burst ends only once the line has been quiet for the
// read interval; the notice says where in the input the burst ended.
TEST_F(CnCommTest, TheLineGoingQuietEndsTheBurstAtItsLastByte)
{
    Open(comm, 7);
    std::size_t sent = 0;
    for (const std::string burst : {"6901234567892", "AB"}) {
        for (const char c : burst) {
            pty.Write(std::string(1, c));
            std::this_thread::sleep_for(8ms);
        }
        sent += burst.size();
        const auto endedThere = [&] {
            const auto notes = sink.Notes();
            return notes.back().message == kNotifyLineQuiet && notes.back().argument == long(sent);
        };
        for (int i = 0; i < 500 && !endedThere(); ++i)
            sink.WaitFor(kNotifyLineQuiet, sink.Count(kNotifyLineQuiet) + 1, 20);
        EXPECT_TRUE(endedThere()) << sent;
        EXPECT_EQ(sink.Notes().back().port, 7);
    }
    EXPECT_EQ(TakeAll(comm), "6901234567892AB");
    // Nothing came since: no more notices.
    EXPECT_FALSE(sink.WaitFor(kNotifyLineQuiet, sink.Count(kNotifyLineQuiet) + 1, 300));
    EXPECT_EQ(sink.Notes().back().argument, 15);
    EXPECT_EQ(sink.Notes().front().message, unsigned(kNotifyReceived));
}

TEST_F(CnCommTest, OneMebibyteInRandomPiecesArrivesIntactAndInOrder)
{
    Open(comm, 8);
    std::mt19937 random(42);
    std::string data(1 << 20, '\0');
    for (char& c : data)
        c = char(random());
    std::thread device([&] {
        for (size_t at = 0, piece; at < data.size(); at += piece) {
            piece = std::min<size_t>(1 + random() % 5000, data.size() - at);
            pty.Write(data.substr(at, piece));
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
    Open(comm, 9);
    std::string expected, received;
    std::thread device([&] { received = pty.Read(2000 * 7, 10000); });
    for (int i = 0; i < 2000; ++i) {
        const char frame[7] = {0x7E, char(i >> 8), char(i), 0x03, 0x01, 0x02, char(0xC1)};
        ASSERT_EQ(comm.Send(frame, 7), 7u);
        expected.append(frame, 7);
    }
    device.join();
    EXPECT_TRUE(received == expected);
    EXPECT_EQ(comm.BytesWritten(), 14000u);
    EXPECT_TRUE(sink.WaitFor(kNotifyTxEmpty, 1));
}

// The device stops reading: the line fills up, yet every Send returns at
// once and DrainTransmit gives up waiting; when the device reads again
// everything arrives, whole and in order.
TEST_F(CnCommTest, SendNeverWaitsForAStalledLineAndNothingIsLostOrReordered)
{
    Open(comm, 19);
    std::string expected;  // about 1 MB: far more than the line holds
    for (int i = 0; i < 1000; ++i)
        expected += "<" + std::to_string(100000 + i) + std::string(992, char('a' + i % 26)) + ">";
    std::mutex mutex;
    std::condition_variable sentAll;
    bool sent = false, stalled = false;
    std::string received;
    std::thread device([&] {
        {
            // A Send that waited for the line would wait for ever: read
            // anyway after a while, so that such a fault ends the test.
            std::unique_lock lock(mutex);
            stalled = !sentAll.wait_for(lock, 10s, [&] { return sent; });
        }
        received = pty.Read(expected.size(), 30000);
    });
    for (size_t at = 0; at < expected.size(); at += 1000)
        EXPECT_EQ(comm.Send(expected.data() + at, 1000), 1000u);
    comm.DrainTransmit();
    {
        std::lock_guard lock(mutex);
        sent = true;
    }
    sentAll.notify_all();
    device.join();
    EXPECT_FALSE(stalled);
    EXPECT_TRUE(received == expected) << received.size() << " of " << expected.size() << " bytes";
    EXPECT_EQ(comm.BytesWritten(), expected.size());
}

// A channel whose reads would wait an hour between two bytes and in all.
// Like every channel that changes what its workers call, it stops them
// before its own part is gone.
class PatientComm : public CnComm {
public:
    ~PatientComm() override { Shutdown(); }

protected:
    CommTimeouts LineTimeouts() const override { return {3'600'000, 0, 3'600'000, 1, 10'000}; }
};

// A reply must reach the window as it arrives, not once the read interval
// has passed after the device's last byte: with read time-outs of an hour
// every burst is still in the buffer and notified, and the worker is back
// in its wait for port events (the line, the stop and the wake descriptor)
// with the receive lock free, so the window can take the bytes out.
TEST_F(CnCommTest, EachBurstIsHandedOverAsItArrivesWhateverTheReadTimeouts)
{
    PatientComm patient;
    Open(patient, 19);
    const auto worker = ThreadNamed("comm-event");
    ASSERT_TRUE(worker.has_value());
    const bool seesSyscalls = std::ifstream("/proc/self/task/" + std::to_string(*worker) + "/syscall").good();
    const std::string bursts[] = {"t", "\x24\x10\x40\x01", "\x24\x71\x81\x12\x34"};
    for (size_t i = 0; i < std::size(bursts); ++i) {
        SCOPED_TRACE(i);
        pty.Write(bursts[i]);
        ASSERT_TRUE(sink.WaitFor(kNotifyReceived, i + 1, 20'000));
        EXPECT_EQ(TakeAll(patient), bursts[i]);
        if (!seesSyscalls)
            continue;
        const auto start = Clock::now();
        while (!WaitsInPoll(*worker, 3) && MsSince(start) < 20'000)
            std::this_thread::sleep_for(1ms);
        std::unique_lock lock(patient.Input().Mutex(), std::try_to_lock);
        EXPECT_TRUE(lock.owns_lock() && WaitsInPoll(*worker, 3));
    }
    EXPECT_EQ(sink.Count(kNotifyReceived), std::size(bursts));
    EXPECT_EQ(patient.BytesRead(), 10u);
}

// Receiving, then the far side going away, at speeds with and without a
// termios code.
TEST_F(CnCommTest, ReceivesAndReportsOnePortFailureAtEverySpeed)
{
    int number = 20;
    for (const int baud : {256000, 128000, 460800, 4800, 57600}) {
        SCOPED_TRACE(baud);
        PtyPair line;
        RecordingSink notes;
        CnComm channel;
        ASSERT_NO_FATAL_FAILURE(OpenOn(channel, line, number, &notes, baud));
        line.Write("payload");
        ASSERT_TRUE(notes.WaitFor(kNotifyReceived, 1));
        // A burst may be notified in pieces; it is whole once the line went quiet.
        ASSERT_TRUE(notes.WaitFor(kNotifyLineQuiet, 1));
        EXPECT_EQ(TakeAll(channel), "payload");
        line.CloseMaster();
        ASSERT_TRUE(notes.WaitFor(kNotifyPortFailure, 1));
        EXPECT_FALSE(notes.WaitFor(kNotifyPortFailure, 2, 200));
        EXPECT_EQ(notes.Count(kNotifyPortFailure), 1u);
        for (const auto& note : notes.Notes())
            EXPECT_EQ(note.port, number);
        ++number;
    }
}

// Root ignores the exclusive mode, so the mode itself is checked besides a
// second opener: set while the channel has the line, cleared when it lets
// go, whichever way it does.
TEST_F(CnCommTest, TheLineIsExclusiveOnlyWhileOpen)
{
    Open(comm, 15);
    EXPECT_TRUE(pty.Exclusive());
    CnComm rival;
    EXPECT_FALSE(rival.OpenByNumber(15, 9600));
    comm.Shutdown(500);
    EXPECT_FALSE(pty.Exclusive());

    ASSERT_TRUE(comm.OpenByNumber(15, 9600));
    EXPECT_TRUE(pty.Exclusive());
    PtyPair other;
    ASSERT_TRUE(PublishPortLink(16, other.SlavePath()));
    ASSERT_TRUE(comm.OpenByNumber(16, 9600));  // moving to another port lets go of this one
    EXPECT_FALSE(pty.Exclusive());
    EXPECT_TRUE(other.Exclusive());
    EXPECT_TRUE(rival.OpenByNumber(15, 9600));
    rival.Shutdown(500);
    other.Write("b");
    ASSERT_TRUE(sink.WaitFor(kNotifyReceived, 1));
    EXPECT_EQ(sink.Notes().back().port, 16);

    {
        CnComm dropped;
        ASSERT_TRUE(dropped.OpenByNumber(15, 115200));
    }
    EXPECT_FALSE(pty.Exclusive());
}

// A channel whose event worker leaves the input alone, so that only
// ReadRaw takes it.
class RawReadComm : public CnComm {
public:
    ~RawReadComm() override { Shutdown(); }

protected:
    bool DispatchEvents(uint32_t) override { return true; }
};

TEST_F(CnCommTest, ReadRawEndsAtTheCountTheIntervalOrTheTotalTimeout)
{
    // bytes and spacingMs: what the device sends.
    const struct {
        const char* name;
        int bytes, spacingMs;
        uint32_t minGot;
        int minMs, maxMs;
    } cases[] = {
        {"count arrives", 16, 0, 16, 0, 90},
        {"gap after bytes", 5, 0, 5, 90, 300},
        {"trickle hits total", 40, 40, 8, 480, 800},
        {"silence hits total", 0, 0, 0, 480, 800},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PtyPair line;
        RawReadComm reader;
        ASSERT_NO_FATAL_FAILURE(OpenOn(reader, line, 13, nullptr));
        std::thread device([&] {
            for (int i = 0; i < c.bytes; ++i) {
                line.Write("z");
                std::this_thread::sleep_for(std::chrono::milliseconds(c.spacingMs));
            }
        });
        char buffer[16];
        const auto start = Clock::now();
        const uint32_t got = reader.ReadRaw(buffer, sizeof buffer);
        const int64_t took = MsSince(start);
        device.join();
        EXPECT_GE(got, c.minGot);
        EXPECT_GE(took, c.minMs);
        EXPECT_LE(took, c.maxMs);
    }
}

TEST_F(CnCommTest, ShutdownOfAClosedChannelDoesNothingAndBufferedBytesStay)
{
    comm.Shutdown(500);
    EXPECT_FALSE(comm.IsOpen());
    Open(comm, 14);
    pty.Write("keep");
    ASSERT_TRUE(sink.WaitFor(kNotifyReceived, 1));
    comm.Shutdown(500);
    comm.Shutdown(500);
    EXPECT_FALSE(comm.IsOpen());
    EXPECT_EQ(comm.Send("x", 1), 0u);
    char byte;
    EXPECT_EQ(comm.ReadRaw(&byte, 1), 0u);
    EXPECT_EQ(TakeAll(comm), "keep");
}

// A receive threshold holds the notification back until enough bytes came.
TEST_F(CnCommTest, AReceiveThresholdHoldsTheNotificationBack)
{
    CnComm threshold;
    threshold.SetReceiveThreshold(10);
    Open(threshold, 16);
    pty.Write("12345");
    EXPECT_FALSE(sink.WaitFor(kNotifyReceived, 1, 400));
    pty.Write("67890");
    ASSERT_TRUE(sink.WaitFor(kNotifyReceived, 1));
    EXPECT_EQ(TakeAll(threshold), "1234567890");
}

}  // namespace
}  // namespace quillon::test
