#include "profile/BundledCatalogue.h"
#include "profile/OptionEntries.h"
#include "profile/ProfileReader.h"
#include "profile/ProfileWriter.h"
#include "sim/SimProcess.h"
#include "support/ProgramRun.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <future>
#include <iterator>
#include <memory>
#include <set>
#include <sstream>

namespace quillon {
namespace {

using test::ProgramRun;
using test::Quote;
using test::SimProcess;
using namespace std::chrono_literals;

// Options of every kind of dialog, one without a value, and the line's speed
// the device already has (not written again: it would change the link).
const std::pair<const char*, std::optional<std::string>> kSettings[] = {
    {"414103", std::nullopt},
    {"414201", std::nullopt},
    {"61820000", "3000"},
    {"51C10000", "AB"},
    {"51C20000", "hex:0D0A"},
    {"31810000", "5"},
    {"31850000", "QR"},
    {"71810000", "100"},
    {"64820000", "500"},
    {"31C40000", ";"},
    {"45CE0000", "B:3:2:A1B2C3D4E5F6"},
};

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The settings COM10's line says were written before it failed.
std::size_t WrittenBefore(const std::string& out)
{
    const std::size_t line = out.find("COM10\t");
    const std::size_t count = out.find('\t', out.find('\t', line) + 1) + 1;
    return line == std::string::npos ? 0 : std::stoul(out.substr(count));
}

std::multiset<std::string> Lines(const std::string& text)
{
    std::multiset<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.insert(line);
    return lines;
}

// quillon-cli against simulated scanners that share one port-link folder.
class BatchCli : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(catalogue.status, 0); }

    std::unique_ptr<SimProcess> Start(int com, std::vector<std::string> extra = {})
    {
        return std::make_unique<SimProcess>(SimProcess::Serving{com, links, "config/all.xml", false, std::move(extra)});
    }

    std::string CliLine(const std::string& arguments) const
    {
        return "cd " + Quote(QUILLON_SOURCE_DIR) + " && QUILLON_PORT_LINKS=" + Quote(links) + " exec " +
               Quote(QUILLON_CLI) + " " + arguments;
    }
    ProgramRun Cli(const std::string& arguments) const { return test::RunProgram(CliLine(arguments)); }

    // The profile as the window saves it: the document's entries, added by
    // the path a double-click takes, through the same writer.
    std::string SavedProfile(const std::string& name)
    {
        CQuillonDoc doc;
        doc.catalogue = catalogue.doc.catalogue;
        OptionEntries entries(doc, catalogue.tree);
        for (const auto& [code, value] : kSettings)
            EXPECT_EQ(entries.Add(code, value), "") << code;
        const std::string path = (dir.Path() / name).string();
        EXPECT_EQ(WriteProfile(path, DocumentProfile(doc)), "");
        return path;
    }

    // A profile typed by hand: an option without a value on line 5, then
    // 61820000 with the given value on line 6.
    std::string HandWritten(const std::string& name, const std::string& option, const std::string& time) const
    {
        return dir.Write(name, "{\n  \"format\": \"quillon-profile\",\n  \"version\": 1,\n  \"settings\": [\n"
                               "    {\"code\": \"" +
                                   option +
                                   "\"},\n"
                                   "    {\"code\": \"61820000\", \"value\": \"" +
                                   time + "\"}\n  ]\n}\n");
    }

    std::string Name(const char* code) const
    {
        return NamedSetting(catalogue.doc.catalogue.treeNodes, code, std::nullopt)->option;
    }
    std::string Setting(const char* code) const
    {
        return NamedSetting(catalogue.doc.catalogue.treeNodes, code, std::nullopt)->setting;
    }

    // What diff --json says of the profile on a port.
    nlohmann::json Diff(const std::string& profile, const std::string& port) const
    {
        const ProgramRun run = Cli("diff --json " + Quote(profile) + " --port " + port);
        EXPECT_EQ(run.err, "");
        return nlohmann::json::parse(run.out);
    }

    // "N written": what apply writes of the profile to the device on port,
    // the settings it does not hold yet.
    std::string ToWrite(const std::string& profile, const std::string& port) const
    {
        return std::to_string(Diff(profile, port)["differences"].size()) + " written";
    }

    test::BundledCatalogue catalogue;
    test::TempDir dir;
    std::string links = (dir.Path() / "ports").string();
};

std::set<std::string> CodesOf(const nlohmann::json& differences)
{
    std::set<std::string> codes;
    for (const auto& difference : differences)
        codes.insert(difference["code"].get<std::string>());
    return codes;
}

TEST_F(BatchCli, ApplyToTwoDevicesReadThemBackAndDiff)
{
    const auto first = Start(9);
    const auto second = Start(10);
    const std::string profile = SavedProfile("chosen.json");
    const std::string written = ToWrite(profile, "COM9");
    EXPECT_NE(written, "0 written");
    EXPECT_EQ(ToWrite(profile, "COM10"), written);

    // One device by its COM name, the other by its device path.
    const ProgramRun apply = Cli("apply " + Quote(profile) + " --port COM9 --port " + Quote(second->DevicePath()));
    EXPECT_EQ(apply.exitCode, 0) << apply.err;
    EXPECT_EQ(apply.err, "");
    EXPECT_EQ(Lines(apply.out), (std::multiset<std::string>{"COM9\tok\t" + written + "\t0 differ",
                                                            second->DevicePath() + "\tok\t" + written + "\t0 differ"}));

    const std::string fromFirst = (dir.Path() / "first.json").string();
    const std::string fromSecond = (dir.Path() / "second.json").string();
    for (const auto& [port, out] : {std::pair{"COM9", fromFirst}, std::pair{"COM10", fromSecond}}) {
        const ProgramRun read = Cli(std::string("read --port ") + port + " -o " + Quote(out));
        EXPECT_EQ(read.exitCode, 0) << read.err;
        EXPECT_EQ(read.out, "");
    }
    EXPECT_EQ(ReadText(fromFirst), ReadText(fromSecond));
    // What was read back is a profile again, holding every setting applied.
    const ProfileRead back = ReadProfile(fromFirst, catalogue.doc.catalogue.treeNodes);
    ASSERT_EQ(back.error, "");
    for (const auto& [code, value] : kSettings) {
        const auto found = std::ranges::find(back.settings, std::string(code), &ProfileSetting::code);
        ASSERT_NE(found, back.settings.end()) << code;
        EXPECT_EQ(found->value, value) << code;
    }
    const ProgramRun same = Cli("diff " + Quote(profile) + " --port COM10");
    EXPECT_EQ(same.exitCode, 0) << same.err;
    EXPECT_EQ(same.out, "");
    const ProgramRun whole = Cli("diff " + Quote(fromFirst) + " --port COM10");
    EXPECT_EQ(whole.exitCode, 0) << whole.out << whole.err;

    // A profile edited by hand: another value, another option of a setting.
    std::string text = ReadText(profile);
    text.replace(text.find("\"3000\""), 6, "\"2000\"");
    text.replace(text.find("\"414201\""), 8, "\"414202\"");
    const std::string edited = dir.Write("edited.json", text);
    const ProgramRun differs = Cli("diff " + Quote(edited) + " --port COM9");
    EXPECT_EQ(differs.exitCode, 1) << differs.err;
    EXPECT_EQ(differs.out, "414202\t" + Setting("414202") + "\t" + Name("414201") + "\t" + Name("414202") + "\n" +
                               "61820000\t" + Setting("61820000") + "\t3000\t2000\n");
}

TEST_F(BatchCli, ARefusedProfileSendsNothingToAnyPort)
{
    const auto first = Start(9);
    const auto second = Start(10);
    // A good first setting: a refusal further down must not leave it applied.
    const std::string profile = HandWritten("refused.json", "414201", "70000");
    const ProgramRun apply = Cli("apply " + Quote(profile) + " --port COM9 --port COM10");
    EXPECT_EQ(apply.exitCode, 2);
    EXPECT_EQ(apply.out, "");
    EXPECT_NE(apply.err.find(profile + ":6: option 61820000 refuses the value \"70000\""), std::string::npos)
        << apply.err;
    for (const char* port : {"COM9", "COM10"}) {
        const ProgramRun read = Cli(std::string("read --port ") + port);
        ASSERT_EQ(read.exitCode, 0) << read.err;
        EXPECT_EQ(read.out.find("414201\t"), std::string::npos) << port;
    }
}

TEST_F(BatchCli, APortLostMidwayFailsAloneAndTheOtherCompletes)
{
    const auto steady = Start(9);
    const auto lost = Start(10);
    const std::string profile = SavedProfile("chosen.json");
    const std::string written = ToWrite(profile, "COM9");
    auto apply =
        std::async(std::launch::async, [&] { return Cli("apply " + Quote(profile) + " --port COM9 --port COM10"); });
    // Pulled out once connected and read, after its first setting came.
    ASSERT_NE(lost->WaitForLine("write ", 20s), "");
    lost->Command("unplug");
    const ProgramRun run = apply.get();
    EXPECT_EQ(run.exitCode, 1) << run.err;
    const std::multiset<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 2u) << run.out;
    EXPECT_EQ(*lines.begin(),
              "COM10\tfailed: the port was lost\t" + std::to_string(WrittenBefore(run.out)) + " written\t- differ");
    EXPECT_LT(WrittenBefore(run.out), std::stoul(written));
    EXPECT_EQ(*lines.rbegin(), "COM9\tok\t" + written + "\t0 differ");
}

TEST_F(BatchCli, ASpeedTheDeviceDoesNotHoldIsWrittenLastAfterTheCheck)
{
    const auto device = Start(9);
    const std::string profile = HandWritten("speed.json", "414101", "3000");
    const std::string written = ToWrite(profile, "COM9");
    const ProgramRun apply = Cli("apply " + Quote(profile) + " --port COM9");
    EXPECT_EQ(apply.exitCode, 0) << apply.err;
    EXPECT_EQ(apply.out,
              "COM9\tok, the link changed: connect again with its new settings\t" + written + "\t0 differ\n");
    EXPECT_EQ(Cli("diff " + Quote(profile) + " --port COM9").out, "");
}

TEST_F(BatchCli, BothLinkSettingsAreWrittenTheSpeedFirst)
{
    const auto device = Start(9);
    const std::string profile = dir.Write(
        "link.json", "{\"format\": \"quillon-profile\", \"version\": 1, \"settings\": [{\"code\": \"424001\"}, "
                     "{\"code\": \"414101\"}, {\"code\": \"61820000\", \"value\": \"2000\"}]}\n");
    const ProgramRun apply = Cli("apply --json " + Quote(profile) + " --port COM9");
    EXPECT_EQ(apply.exitCode, 0) << apply.out << apply.err;
    const nlohmann::json result = nlohmann::json::parse(apply.out)["ports"][0];
    EXPECT_EQ(result["outcome"], "ok") << result;
    EXPECT_EQ(result["written"], nlohmann::json({"61820000", "414101", "424001"}));
    // The speed reached the device before the interface, each once.
    EXPECT_NE(device->WaitForLine("write 21414101 applied", 20s), "");
    EXPECT_NE(device->WaitForLine("write 21424001 applied", 20s), "");
}

TEST_F(BatchCli, PortsThatDoNotOpenOrAreNamedTwice)
{
    const auto device = Start(9);
    const std::string profile = SavedProfile("chosen.json");
    const std::string written = ToWrite(profile, "COM9");
    const std::string file = dir.Write("notes.txt", "no port\n");
    const std::string missing = "COM77\tfailed: cannot open COM77: no such port\t0 written\t- differ";
    const struct {
        std::string ports;
        int exitCode;
        std::multiset<std::string> lines;
        std::string err;
    } cases[] = {
        {"--port COM77", 3, {missing}, ""},
        {"--port ''", 2, {}, "--port: names no port"},
        {"--port COM9 --port " + Quote(file), 2, {}, file + ": not a terminal (a regular file)"},
        // In this order: the device holds the profile after the first that reaches it.
        {"--port COM77 --port COM9 --jobs 1", 1, {missing, "COM9\tok\t" + written + "\t0 differ"}, ""},
        // One device by its COM name, its path and a link to it: worked once.
        {"--port COM9 --port " + Quote(device->DevicePath()) + " --port " + Quote(links + "/COM9") + " --port COM9",
         0,
         {"COM9\tok\t0 written\t0 differ"},
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ports);
        const ProgramRun run = Cli("apply " + Quote(profile) + " " + c.ports);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_EQ(Lines(run.out), c.lines);
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    }
}

mode_t KindOf(const std::string& path)
{
    struct stat file {};
    return ::lstat(path.c_str(), &file) == 0 ? (file.st_mode & S_IFMT) : 0;
}

// An output that is not a regular file is written where it stands or
// refused; it is never replaced by a file.
TEST_F(BatchCli, ReadOutputOntoWhatIsNotARegularFile)
{
    const auto device = Start(9);
    const std::string fifo = (dir.Path() / "fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string full = (dir.Path() / "full").string();
    std::filesystem::create_symlink("/dev/full", full);
    // A device node of its own (the null device), where root may make one.
    const std::string node = (dir.Path() / "null").string();
    const bool madeNode = ::mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    const struct {
        std::string output;
        int exitCode;
        std::string inOut;
        std::string inErr;
        mode_t kind;  // of the output afterwards
    } cases[] = {
        {"-", 0, "\"format\": \"quillon-profile\"", "read: standard output: left out 1 option", 0},
        {"/dev/stdout", 0, "\"format\": \"quillon-profile\"", "read: /dev/stdout: left out 1 option", 0},
        {"/dev/full", 1, "", "quillon-cli read: /dev/full: cannot write: No space left on device\n", S_IFCHR},
        {full, 1, "", full + ": cannot write: No space left on device", S_IFLNK},
        {fifo + " & cat " + Quote(fifo) + "; wait $!", 0, "\"format\": \"quillon-profile\"", "left out", S_IFIFO},
        {node, 0, "", "left out", mode_t(madeNode ? S_IFCHR : S_IFREG)},
        {dir.Path().string(), 2, "", "quillon-cli read: " + dir.Path().string() + ": is a folder\n", S_IFDIR},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.output);
        const ProgramRun run = test::RunProgram(CliLine("read --port COM9 -o " + c.output));
        test::ExpectRun(run, c.exitCode, c.inOut, c.inErr);
        const std::string path = c.output.substr(0, c.output.find(' '));
        if (c.kind) {
            EXPECT_EQ(KindOf(path), c.kind);
        }
    }
    EXPECT_EQ(KindOf("/dev/full"), S_IFCHR);
}

// A device lost half way through the read-back reported only part of its
// settings: nothing is judged or saved from that.
TEST_F(BatchCli, AReadBackCutShortIsAFailure)
{
    const std::string profile = SavedProfile("chosen.json");
    const std::string saved = (dir.Path() / "saved.json").string();
    for (const std::string& verb : {"read -o " + Quote(saved), "diff " + Quote(profile), std::string("set 414201")}) {
        SCOPED_TRACE(verb);
        // Replies in small bursts, so that the read-back takes many seconds.
        const auto device = Start(9);
        device->Command("fault bursts 2,50");
        test::RunningProgram run(CliLine(verb + " --port COM9"));
        ASSERT_NE(device->WaitForLine("COM9 opened", 20s), "");
        std::this_thread::sleep_for(std::chrono::seconds(3));
        device->Command("unplug");
        const ProgramRun ended = run.Wait();
        EXPECT_EQ(ended.exitCode, 1) << ended.err;
        EXPECT_EQ(ended.out, "");
        EXPECT_NE(ended.err.find("quillon-cli "), std::string::npos);
        EXPECT_NE(ended.err.find("COM9: "), std::string::npos) << ended.err;
        EXPECT_FALSE(std::filesystem::exists(saved));
    }
}

// SIGINT and SIGTERM: the exchange in progress ends, every port gets its
// line, the port opens again at once, and the status is 130.
TEST_F(BatchCli, AnInterruptEndsEveryPortWithItsLine)
{
    const std::string profile = SavedProfile("chosen.json");
    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        const auto first = Start(9, {"--fault", "bursts"});
        const auto second = Start(10, {"--fault", "bursts"});
        test::RunningProgram apply(CliLine("apply " + Quote(profile) + " --port COM9 --port COM10"));
        ASSERT_NE(first->WaitForLine("write ", 20s), "");
        apply.Signal(signal);
        const ProgramRun run = apply.Wait();
        EXPECT_EQ(run.exitCode, 130) << run.err;
        const std::multiset<std::string> lines = Lines(run.out);
        ASSERT_EQ(lines.size(), 2u) << run.out;
        EXPECT_EQ(lines.begin()->rfind("COM10\tinterrupted", 0), 0u) << run.out;
        EXPECT_EQ(lines.rbegin()->rfind("COM9\tinterrupted\t", 0), 0u) << run.out;
        const ProgramRun again = Cli("connect --port COM9");
        EXPECT_EQ(again.exitCode, 0) << again.err;
    }
    const auto device = Start(9, {"--fault", "bursts"});
    test::RunningProgram read(CliLine("read --port COM9"));
    ASSERT_NE(device->WaitForLine("COM9 opened", 20s), "");
    read.Signal(SIGTERM);
    const ProgramRun run = read.Wait();
    EXPECT_EQ(run.exitCode, 130);
    EXPECT_NE(run.err.find("quillon-cli read: COM9: interrupted"), std::string::npos) << run.err;
}

TEST_F(BatchCli, ApplyWritesOnlyWhatDiffersTriesItDryAndTellsItAsJson)
{
    const auto first = Start(9);
    const auto second = Start(10);
    const std::string profile = SavedProfile("chosen.json");
    const nlohmann::json before = Diff(profile, "COM9");
    EXPECT_EQ(before["port"], "COM9");
    EXPECT_EQ(before["outcome"], "differs");
    const std::set<std::string> toWrite = CodesOf(before["differences"]);
    EXPECT_FALSE(toWrite.empty());
    EXPECT_FALSE(toWrite.contains("414103"));  // the device's speed already

    // A dry run of every port present reads both simulators (and whatever
    // ports this machine has, which answer no probe) and writes nothing.
    const std::size_t hardware = nlohmann::json::parse(Cli("ports --json").out).size() - 2;
    const ProgramRun dry = Cli("apply --dry-run --json " + Quote(profile) + " --port all --port COM10 --timeout 1000");
    EXPECT_EQ(dry.exitCode, hardware == 0 ? 0 : 1) << dry.err;
    const nlohmann::json tried = nlohmann::json::parse(dry.out);
    EXPECT_EQ(tried["dry_run"], true);
    ASSERT_EQ(tried["ports"].size(), 2 + hardware) << dry.out;
    nlohmann::json simulated = nlohmann::json::array();
    for (const auto& port : tried["ports"])
        if (port["port"] == "COM9" || port["port"] == "COM10")
            simulated.push_back(port);
    ASSERT_EQ(simulated.size(), 2u) << dry.out;
    for (const auto& port : simulated) {
        EXPECT_EQ(port["outcome"], "differs");
        EXPECT_EQ(port["reason"], std::to_string(toWrite.size()) + " to write");
        EXPECT_EQ(port["changes"], before["differences"]);
        EXPECT_EQ(port["differences"], port["changes"]);
        EXPECT_EQ(port["written"], nlohmann::json::array());
    }
    EXPECT_EQ(Diff(profile, "COM10")["differences"], before["differences"]);
    const ProgramRun dryText = Cli("apply --dry-run " + Quote(profile) + " --port COM9");
    EXPECT_EQ(dryText.exitCode, 0);
    EXPECT_TRUE(dryText.out.starts_with("COM9\twould write: ")) << dryText.out;
    EXPECT_TRUE(dryText.out.ends_with("\t0 written\t" + std::to_string(toWrite.size()) + " differ\n")) << dryText.out;

    // Written, the profile from standard input: what differed, and only that.
    const ProgramRun apply = Cli("apply --json - --port COM9 --port COM10 < " + Quote(profile));
    EXPECT_EQ(apply.exitCode, 0) << apply.err;
    const nlohmann::json applied = nlohmann::json::parse(apply.out);
    EXPECT_EQ(applied["dry_run"], false);
    ASSERT_EQ(applied["ports"].size(), 2u);
    for (const auto& [index, port] : {std::pair{0, "COM9"}, std::pair{1, "COM10"}}) {
        const nlohmann::json& result = applied["ports"][index];
        EXPECT_EQ(result["port"], port);
        EXPECT_EQ(result["outcome"], "ok");
        EXPECT_FALSE(result.contains("reason"));
        EXPECT_EQ(result["changes"], before["differences"]);
        EXPECT_EQ(std::set<std::string>(result["written"].begin(), result["written"].end()), toWrite);
        EXPECT_EQ(result["differences"], nlohmann::json::array());
    }
    const nlohmann::json same = Diff(profile, "COM10");
    EXPECT_EQ(same, nlohmann::json({{"port", "COM10"}, {"outcome", "same"}, {"differences", nlohmann::json::array()}}));

    // Again: nothing left to write.
    const ProgramRun again = Cli("apply --json " + Quote(profile) + " --port COM9");
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(nlohmann::json::parse(again.out)["ports"][0], nlohmann::json({{"port", "COM9"},
                                                                            {"outcome", "ok"},
                                                                            {"changes", nlohmann::json::array()},
                                                                            {"written", nlohmann::json::array()},
                                                                            {"differences", nlohmann::json::array()}}));

    // A port that does not answer fails alone, with its reason; diff says the same.
    const ProgramRun missing = Cli("apply --json " + Quote(profile) + " --port COM77 --port COM9");
    EXPECT_EQ(missing.exitCode, 1);
    const nlohmann::json failed = nlohmann::json::parse(missing.out)["ports"][0];
    EXPECT_EQ(failed["outcome"], "failed");
    EXPECT_EQ(failed["reason"], "cannot open COM77: no such port");
    const ProgramRun diffMissing = Cli("diff --json " + Quote(profile) + " --port COM77");
    EXPECT_EQ(diffMissing.exitCode, 3);
    EXPECT_EQ(nlohmann::json::parse(diffMissing.out), nlohmann::json({{"port", "COM77"},
                                                                      {"outcome", "failed"},
                                                                      {"reason", "cannot open COM77: no such port"},
                                                                      {"differences", nlohmann::json::array()}}));
}

TEST_F(BatchCli, ARefusedProfileFromStandardInputIsNamedSo)
{
    const auto device = Start(9);
    const std::string profile = HandWritten("refused.json", "414201", "70000");
    const ProgramRun apply = Cli("apply - --port COM9 < " + Quote(profile));
    EXPECT_EQ(apply.exitCode, 2);
    EXPECT_NE(apply.err.find("(standard input):6: option 61820000 refuses the value \"70000\""), std::string::npos)
        << apply.err;
}

TEST_F(BatchCli, PortsAsJson)
{
    const auto first = Start(9);
    const auto second = Start(10);
    const ProgramRun run = Cli("ports --json");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    nlohmann::json linked = nlohmann::json::array();
    for (const auto& port : nlohmann::json::parse(run.out))
        if (port["path"].get<std::string>().starts_with("/dev/pts/"))
            linked.push_back(port);
    EXPECT_EQ(linked, nlohmann::json::parse(R"([{"name": "COM9", "path": ")" + first->DevicePath() +
                                            R"(", "description": "", "identity": ""}, {"name": "COM10", "path": ")" +
                                            second->DevicePath() + R"(", "description": "", "identity": ""}])"));
}

}  // namespace
}  // namespace quillon
