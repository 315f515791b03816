// Every trace of this folder played by quillon-sim --replay against the
// command that recorded it, in both languages of the interface (the English
// one must send the very bytes the Chinese one recorded); the trace quillon-cli writes of a session with
// the simulator; a trace file that cannot be written.
#include <gtest/gtest.h>

#include "serial/WireTraceReader.h"
#include "sim/SimProcess.h"
#include "support/CliOnSim.h"
#include "support/Han.h"

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <sys/stat.h>

namespace quillon::test {
namespace {

namespace fs = std::filesystem;
using Frames = std::vector<std::vector<std::uint8_t>>;

const fs::path kTraces = fs::path(QUILLON_SOURCE_DIR) / "tests" / "traces";

std::vector<std::string> TraceNames()
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kTraces))
        if (entry.path().extension() == ".trace")
            names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The words of a command line as CommandTrace writes it (single quotes only).
std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == ' ') {
            if (inWord)
                words.push_back(std::exchange(word, {}));
            inWord = false;
            continue;
        }
        inWord = true;
        if (line[i] != '\'') {
            word += line[i];
            continue;
        }
        for (++i; i < line.size() && line[i] != '\''; ++i)
            word += line[i];
    }
    if (inWord)
        words.push_back(word);
    return words;
}

// The recorded command's arguments without the program and its --trace.
std::string ToolArguments(const WireTrace& trace)
{
    const auto words = Words(WireTraceComment(trace, "session: ").value_or(""));
    std::string arguments;
    for (std::size_t i = 1; i < words.size(); ++i) {
        if (words[i] == "--trace") {
            ++i;
            continue;
        }
        arguments += " " + Quote(words[i]);
    }
    return arguments;
}

Frames SentFrames(const WireTrace& trace)
{
    Frames frames;
    for (const auto& record : trace.records)
        if (record.kind == WireEvent::Sent)
            frames.push_back(record.bytes);
    return frames;
}

std::string Hex(const std::vector<std::uint8_t>& bytes)
{
    std::string text;
    for (const auto byte : bytes)
        text += (text.empty() ? "" : " ") + HexText({byte});
    return text;
}

// A working folder as the recording had: ./config and the firmware file.
struct Workspace {
    TempDir dir;
    Workspace()
    {
        fs::create_directory_symlink(fs::path(QUILLON_SOURCE_DIR) / "config", dir.Path() / "config");
        fs::copy_file(kTraces / "small.hex", dir.Path() / "small.hex");
    }
    ProgramRun Run(const SimProcess& sim, const std::string& arguments) const
    {
        return RunProgram("cd " + Quote(dir.Path().string()) + " && QUILLON_PORT_LINKS=" + Quote(sim.LinkFolder()) +
                          " " + Quote(QUILLON_CLI) + arguments);
    }
    std::string Path(const std::string& name) const { return (dir.Path() / name).string(); }
};

WireTrace ReadOrFail(const std::string& path)
{
    WireTraceRead read = ReadWireTraceFile(path);
    EXPECT_EQ(read.error, "");
    return read.trace;
}

// The English catalogue and messages put words of their own on standard
// output: line for line, each is the recorded one (the device's data) or a
// translation without a Chinese character left.
void ExpectEnglishLines(const std::string& out, const std::string& recorded)
{
    std::istringstream english(out), chinese(recorded);
    std::string line, original;
    while (std::getline(chinese, original)) {
        ASSERT_TRUE(std::getline(english, line)) << "missing: " << original;
        if (line != original) {
            EXPECT_FALSE(HasHan(line)) << line;
        }
    }
    EXPECT_FALSE(std::getline(english, line)) << "more: " << line;
}

// Without Qt the tool has no English texts.
#ifdef QUILLON_CLI_TEXTS
const std::vector<std::string> kLanguages = {"zh", "en"};
#else
const std::vector<std::string> kLanguages = {"zh"};
#endif

class TraceReplay : public testing::TestWithParam<std::tuple<std::string, std::string>> {};

TEST_P(TraceReplay, TheToolSendsTheTracesBytesAndEndsTheSameWay)
{
    const auto& [name, language] = GetParam();
    const std::string tracePath = (kTraces / (name + ".trace")).string();
    const WireTrace recorded = ReadOrFail(tracePath);
    ASSERT_FALSE(recorded.records.empty());
    for (const auto& record : recorded.records)
        ASSERT_EQ(record.port, "COM9");
    const Workspace work;
    SimProcess sim(SimProcess::Replaying{}, {"--replay", tracePath});
    const ProgramRun run = work.Run(sim, ToolArguments(recorded) + " --lang " + language + " --trace replayed.trace");
    EXPECT_EQ(std::to_string(run.exitCode), WireTraceComment(recorded, "exit status ").value_or("?")) << run.err;
    const std::string recordedOut = ReadFile(kTraces / (name + ".out"));
    if (language == "zh") {
        EXPECT_EQ(run.out, recordedOut);
    } else {
        ExpectEnglishLines(run.out, recordedOut);
        EXPECT_FALSE(HasHan(run.err)) << run.err;
    }
    EXPECT_EQ(sim.WaitForExit(30s), 0) << sim.WaitForLine("replay:", 0ms);
    const WireTrace replayed = ReadOrFail(work.Path("replayed.trace"));
    EXPECT_EQ(SentFrames(replayed), SentFrames(recorded));
}

INSTANTIATE_TEST_SUITE_P(Traces, TraceReplay,
                         testing::Combine(testing::ValuesIn(TraceNames()), testing::ValuesIn(kLanguages)),
                         [](const auto& instance) {
                             std::string name = std::get<0>(instance.param) + "_" + std::get<1>(instance.param);
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

TEST(TraceReplayDiffers, TheFrameIsReportedAndTheStatusIsNotZero)
{
    // The connect and read-back trace, played to a command that asks for
    // the version record instead, paced and unpaced.
    const std::string tracePath = (kTraces / "connect-readback.trace").string();
    const Frames expected = SentFrames(ReadOrFail(tracePath));
    for (const bool paced : {true, false}) {
        SCOPED_TRACE(paced ? "paced" : "unpaced");
        const Workspace work;
        std::vector<std::string> args{"--replay", tracePath};
        if (!paced)
            args.push_back("--no-pace");
        SimProcess sim(SimProcess::Replaying{}, args);
        work.Run(sim, " version --port COM9 --timeout 500 --trace other.trace");
        const Frames sent = SentFrames(ReadOrFail(work.Path("other.trace")));
        const auto differs = std::mismatch(sent.begin(), sent.end(), expected.begin(), expected.end());
        ASSERT_NE(differs.first, sent.end());
        const std::string report = sim.WaitForLine("replay: unexpected frame", 10s);
        EXPECT_EQ(report, "quillon-sim: replay: unexpected frame " + Hex(*differs.first) +
                              "; the trace has next: " + Hex(*differs.second));
        EXPECT_EQ(sim.WaitForExit(30s), 1);
    }
}

// Timestamps masked; the reads of one reply merged, since the kernel may
// hand a reply over in more reads than one.
std::string Masked(const std::string& text)
{
    // A line's stamp: seconds, a point, six digits and a blank.
    const auto unstamped = [](const std::string& line) {
        const std::size_t point = line.find_first_not_of("0123456789");
        const bool stamped = point > 0 && point != std::string::npos && line[point] == '.' && line.size() > point + 7 &&
                             line.find_first_not_of("0123456789", point + 1) == point + 7 && line[point + 7] == ' ';
        return stamped ? "T " + line.substr(point + 8) : line;
    };
    std::string masked;
    std::string lastReceived;
    std::istringstream in(text);
    for (std::string stampedLine; std::getline(in, stampedLine);) {
        const std::string line = unstamped(stampedLine);
        const auto arrow = line.find(" < route=");
        if (arrow != std::string::npos && !lastReceived.empty() &&
            line.substr(0, line.find(' ', arrow + 9)) == lastReceived.substr(0, lastReceived.find(' ', arrow + 9))) {
            masked.insert(masked.size() - 1, line.substr(line.find(' ', arrow + 9)));
            continue;
        }
        lastReceived = arrow != std::string::npos ? line : "";
        masked += line + "\n";
    }
    return masked;
}

TEST(CliTrace, ASessionWithTheSimulatorLineByLine)
{
    const SimForTool sim(WithBundledCatalogue());
    const TempDir dir;
    const std::string trace = (dir.Path() / "version.trace").string();
    const ProgramRun run = RunCliOn(sim, "version --port COM9 --trace " + Quote(trace));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    struct stat info {};
    ASSERT_EQ(stat(trace.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(Masked(ReadFile(trace)),
              "# quillon wire trace\n"
              "# program: quillon-cli " QUILLON_VERSION "\n"
              "# session: quillon-cli version --port COM9 --trace " +
                  trace +
                  "\n"
                  "# lines: SECONDS PORT BAUD > (sent) or < (received) route=ROUTE HEX BYTES; PORT BAUD open|close\n"
                  "T COM9 115200 open\n"
                  "T COM9 115200 > route=5 43 02 C1\n"
                  "T COM9 115200 > route=5 43 02 C2\n"
                  "T COM9 115200 > route=5 43 02 C3\n"
                  "T COM9 115200 > route=5 43 02 C4\n"
                  "T COM9 115200 > route=5 43 02 C5\n"
                  "T COM9 115200 > route=5 43 02 C6\n"
                  "T COM9 115200 > route=5 43 02 C7\n"
                  "T COM9 115200 > route=5 43 02 C8\n"
                  "T COM9 115200 < route=5 "
                  "44 02 C1 00 0C 51 53 2D 42 4F 4F 54 20 31 2E 30 34 "
                  "44 02 C2 00 15 56 33 2E 32 2E 37 20 62 75 69 6C 64 20 32 30 32 36 30 39 31 35 "
                  "44 02 C3 00 04 02 80 01 E0 44 02 C4 00 05 48 57 2D 42 32 "
                  "44 02 C5 00 0E 51 53 32 44 32 36 30 39 31 35 30 30 34 32 "
                  "44 02 C6 00 0A 32 30 32 36 2D 30 39 2D 31 35 "
                  "44 02 C7 00 0C 51 53 2D 32 44 20 49 6D 61 67 65 72 "
                  "44 02 C8 00 13 36 34 30 78 34 38 30 20 43 4D 4F 53 2C 20 32 44 2F 31 44\n"
                  "T COM9 115200 close\n"
                  "# exit status 0\n");
}

TEST(CliTrace, AFileThatCannotBeWrittenIsReportedAndTheCommandGoesOn)
{
    const SimForTool sim(WithBundledCatalogue());
    const ProgramRun run = RunCliOn(sim, "connect --port COM9 --trace /nonexistent/folder/x.trace");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "COM9，联机\n");
    EXPECT_EQ(run.err,
              "quillon-cli: trace /nonexistent/folder/x.trace: No such file or directory; going on without it\n");

    // The environment names the trace when the command line does not.
    const TempDir dir;
    const std::string trace = (dir.Path() / "env.trace").string();
    const ProgramRun traced =
        RunProgram("cd " + Quote(QUILLON_SOURCE_DIR) + " && QUILLON_PORT_LINKS=" + Quote(sim.LinkFolder()) +
                   " QUILLON_TRACE=" + Quote(trace) + " " + Quote(QUILLON_CLI) + " connect --port COM9");
    EXPECT_EQ(traced.exitCode, 0) << traced.err;
    EXPECT_NE(ReadFile(trace).find("> route=6 23 10 40\n"), std::string::npos);
}

}  // namespace
}  // namespace quillon::test
