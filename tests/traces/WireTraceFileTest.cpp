// The wire trace's lines, read back, and the file they go into.
#include <gtest/gtest.h>

#include "serial/WireTraceReader.h"
#include "serial/WireTraceWriter.h"
#include "support/TempDir.h"

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon::test {
namespace {

const std::uint8_t kProbe[] = {0x23, 0x10, 0x40};

TEST(WireTraceLine, FormatsAndReadsBack)
{
    const struct {
        std::int64_t micros;
        WireEvent event;
        const char* line;
    } cases[] = {
        {12345678, {WireEvent::Sent, "COM9", 115200, 6, kProbe}, "12.345678 COM9 115200 > route=6 23 10 40"},
        {5, {WireEvent::Received, "COM12", 9600, -1, {kProbe, 1}}, "0.000005 COM12 9600 < route=-1 23"},
        {0, {WireEvent::Sent, "COM9", 115200, 4, {}}, "0.000000 COM9 115200 > route=4"},
        {7000000, {WireEvent::Opened, "/dev/ttyUSB0", 460800, 4, {}}, "7.000000 /dev/ttyUSB0 460800 open"},
        {86400000001, {WireEvent::Closed, "COM9", 115200, -1, {}}, "86400.000001 COM9 115200 close"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(FormatWireLine(c.micros, c.event), c.line);
        const auto record = ParseWireLine(c.line);
        ASSERT_TRUE(record);
        EXPECT_EQ(record->micros, c.micros);
        EXPECT_EQ(record->port, c.event.port);
        EXPECT_EQ(record->baud, c.event.baud);
        EXPECT_EQ(record->kind, c.event.kind);
        if (c.event.kind == WireEvent::Sent || c.event.kind == WireEvent::Received) {
            EXPECT_EQ(record->route, c.event.route);
        }
        EXPECT_EQ(record->bytes, std::vector<std::uint8_t>(c.event.bytes.begin(), c.event.bytes.end()));
    }
}

TEST(WireTraceLine, RefusesWhatIsNotATraceLine)
{
    for (const char* line :
         {"", "12.34 COM9 115200 > route=6 23", "x.000001 COM9 115200 open", "1.000000 COM9 fast open",
          "1.000000 COM9 115200 >", "1.000000 COM9 115200 > 23 10", "1.000000 COM9 115200 > route=6 2",
          "1.000000 COM9 115200 > route=6 GG", "1.000000 COM9 115200 open 23", "1.000000 COM9 115200 = route=1",
          "-1.000000 COM9 115200 close"}) {
        EXPECT_FALSE(ParseWireLine(line)) << line;
    }
    const WireTraceRead read = ReadWireTrace("# quillon wire trace\n1.000000 COM9 115200 open\nnonsense\n");
    EXPECT_EQ(read.error, "line 3: not a trace line: nonsense");
}

TEST(WireTraceLine, CommentsAreKeptInOrder)
{
    const WireTraceRead read = ReadWireTrace("# session: quillon-cli read --port COM9\n\n"
                                             "0.100000 COM9 115200 > route=6 23 10 40\n#exit status 0\n");
    ASSERT_EQ(read.error, "");
    EXPECT_EQ(read.trace.records.size(), 1u);
    EXPECT_EQ(WireTraceComment(read.trace, "session: "), "quillon-cli read --port COM9");
    EXPECT_EQ(WireTraceComment(read.trace, "exit status "), "0");
    EXPECT_EQ(WireTraceComment(read.trace, "program: "), std::nullopt);
}

mode_t ModeOf(const std::string& path)
{
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

TEST(WireTraceWriter, CreatesAPrivateFileAndEmptiesAnOldOne)
{
    const TempDir dir;
    const std::string fresh = (dir.Path() / "fresh.trace").string();
    const mode_t saved = umask(0);
    WireTraceWriter writer;
    EXPECT_EQ(writer.Open(fresh, {"one", "two"}), "");
    umask(saved);
    EXPECT_EQ(ModeOf(fresh), 0600u);
    writer.OnWire({WireEvent::Sent, "COM9", 115200, 6, kProbe});
    writer.Note("exit status 0");
    const WireTraceRead read = ReadWireTraceFile(fresh);
    EXPECT_EQ(read.error, "");
    EXPECT_EQ(read.trace.comments, (std::vector<std::string>{"one", "two", "exit status 0"}));
    ASSERT_EQ(read.trace.records.size(), 1u);

    const std::string old = dir.Write("old.trace", std::string(5000, 'x'));
    ASSERT_EQ(chmod(old.c_str(), 0644), 0);
    EXPECT_EQ(writer.Open(old, {"new"}), "");
    EXPECT_EQ(ModeOf(old), 0600u);
    EXPECT_EQ(ReadFile(old), "# new\n");
}

TEST(WireTraceWriter, RefusesWhatIsNotARegularFileAndSaysWhy)
{
    const TempDir dir;
    const std::string fifo = (dir.Path() / "pipe").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    const struct {
        std::string path;
        std::string error;
    } cases[] = {
        {fifo, fifo + ": not a regular file"},
        {dir.Path().string(), dir.Path().string() + ": not a regular file"},
        {(dir.Path() / "missing" / "x.trace").string(),
         (dir.Path() / "missing" / "x.trace").string() + ": No such file or directory"},
    };
    for (const auto& c : cases) {
        WireTraceWriter writer;
        EXPECT_EQ(writer.Open(c.path, {"header"}), c.error);
        EXPECT_FALSE(writer.Active());
        writer.OnWire({WireEvent::Sent, "COM9", 115200, 6, kProbe});  // goes nowhere, harms nothing
    }
    EXPECT_EQ(ModeOf(fifo), 0644u);
}

TEST(WireTraceWriter, StopsAtItsLimitWithALastLineSayingSo)
{
    const TempDir dir;
    const std::string path = (dir.Path() / "bounded.trace").string();
    constexpr std::uint64_t kLimit = 400;
    WireTraceWriter writer;
    ASSERT_EQ(writer.Open(path, {"h"}, kLimit), "");
    for (int i = 0; i < 100; ++i)
        writer.OnWire({WireEvent::Received, "COM9", 115200, 2, kProbe});
    EXPECT_FALSE(writer.Active());
    const std::string text = ReadFile(path);
    EXPECT_LE(text.size(), kLimit);
    EXPECT_TRUE(text.ends_with("\n# trace stopped: it reached its limit of 400 bytes\n")) << text;
    const WireTraceRead read = ReadWireTrace(text);
    EXPECT_EQ(read.error, "");
    EXPECT_GT(read.trace.records.size(), 5u);
    EXPECT_EQ(WireTraceWriter::kDefaultLimit, 256u << 20);
}

TEST(WireTraceWriter, AFileThatFailsLaterIsReportedOnceAndTracingStops)
{
    const TempDir dir;
    const std::string path = (dir.Path() / "full.trace").string();
    WireTraceWriter writer;
    std::vector<std::string> reports;
    writer.SetFailureReport([&](const std::string& message) { reports.push_back(message); });
    ASSERT_EQ(writer.Open(path, {"h"}), "");
    // A file size limit makes the disk "full" at 300 bytes.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 300;
    setrlimit(RLIMIT_FSIZE, &small);
    for (int i = 0; i < 50; ++i)
        writer.OnWire({WireEvent::Received, "COM9", 115200, 2, kProbe});
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedSignal);
    EXPECT_FALSE(writer.Active());
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], "the trace " + path + " cannot be written (File too large); tracing stopped");
}

}  // namespace
}  // namespace quillon::test
