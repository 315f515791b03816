#include "device/DeviceSession.h"
#include "serial/CnComm.h"
#include "support/CliOnSim.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace quillon::test {
namespace {

bool HasLine(const std::string& out, const std::string& line)
{
    return ("\n" + out).find("\n" + line + "\n") != std::string::npos;
}

struct VerbCase {
    const char* name;
    std::vector<std::string> simArgs;
    const char* args;
    int exitCode;
    const char* outText;  // text stdout must hold ("" for none)
    const char* errText;  // text stderr must hold ("" for nothing)
};

TEST(DeviceCli, VerbsAgainstTheSimulator)
{
    const VerbCase cases[] = {
        {"connect", {}, "connect --port COM9", 0, "COM9，联机", ""},
        {"connect at another speed", {}, "connect --port COM9 --baud 9600", 0, "COM9，联机", ""},
        {"no answer", {"--fault", "silent-probe"}, "connect --port COM9 --timeout 300", 1, "", kConnectFailedText},
        {"a wrong answer, then the right one", {"--fault", "wrong-probe"}, "connect --port COM9", 0, "COM9，联机", ""},
        {"a stray byte, then the answer in pieces",
         {"--fault", "stray-probe"},
         "connect --port COM9",
         0,
         "COM9，联机",
         ""},
        {"no such port", {}, "connect --port COM77", 3, "", "no such port"},
        // connect ends with the read-back it starts, or says it gave up.
        {"connect, the read-back never ended",
         {"--fault", "no-readback-end"},
         "connect --port COM9 --timeout 300",
         1,
         "",
         kReadBackStalledText},
        {"the longest time-out", {}, "connect --port COM9 --timeout 3600000", 0, "COM9，联机", ""},
        {"read", {}, "read --port COM9", 0, "414103\t波特率\t9600", ""},
        {"read as JSON",
         {},
         "read --port COM9 --json",
         0,
         "\"code\": \"414103\",\n    \"setting\": \"波特率\",\n    \"option\": \"9600\",\n    \"value\": null",
         ""},
        {"set", {}, "set --port COM9 414201", 0, "414201\t校验方式\t奇校验(Odd)", ""},
        {"set a text value", {}, "set --port COM9 51C10000=AB", 0, "", ""},
        {"a two-byte value as it was typed",
         {},
         "set --port COM9 61820000=3000",
         0,
         "61820000\t单次读码时长\t设置读码时长\t3000\n",
         ""},
        {"the largest two-byte value", {}, "set --port COM9 61820000=65535", 0, "\t设置读码时长\t65535\n", ""},
        {"a count goes out as its digits read as hex",
         {},
         "set --port COM9 31810000=5",
         0,
         "31810000\t条码输出个数\t设置输出个数\t5\n",
         ""},
        {"refused write", {"--fault", "write-error"}, "set --port COM9 414201", 1, "", kWriteRefusedText},
        {"baud rate changed", {}, "set --port COM9 414101", 1, "", kBaudChangedText},
        {"a read-back never ended",
         {"--fault", "no-readback-end"},
         "read --port COM9 --timeout 300",
         1,
         "",
         kReadBackStalledText},
        {"unknown code", {}, "set --port COM9 999999", 2, "", "no option with code 999999"},
        {"a value the dialog refuses", {}, "set --port COM9 61820000=xyz", 2, "", "61820000"},
        {"a value for an option without one", {}, "set --port COM9 414201=1", 2, "", "takes no value"},
        {"letters in a number", {}, "set --port COM9 61820000=12abc", 2, "", "61820000: 触发超时超过最大限制！"},
        {"a number in exponent form", {}, "set --port COM9 61820000=1e3", 2, "", "触发超时超过最大限制！"},
        {"an empty number", {}, "set --port COM9 61820000=", 2, "", "触发超时超过最大限制！"},
        {"letters in an M1 sector", {}, "set --port COM9 45CE0000=B:3x:2:A1B2C3D4E5F6", 2, "", "扇区号错误(0-15)!"},
        {"a query is no setting", {}, "set --port COM9 1040", 2, "", "1040: is a query (查询连接状态), not a setting"},
        {"an empty command", {}, "send --port COM9 ''", 2, "", "an empty command: nothing to send"},
        {"no port", {}, "read", 2, "", "--port"},
        {"an empty port", {}, "connect --port ''", 2, "", "--port: names no port"},
        {"a mistyped port", {}, "connect --port com21", 3, "", "cannot open com21: no such port\nthe ports present: "},
        {"a mistyped port among those there are", {}, "connect --port COM99", 3, "", " COM9 (/dev/pts/"},
        {"a time-out an int cannot wait",
         {},
         "connect --port COM9 --timeout 2147482648",
         2,
         "",
         "--timeout: must be from 1 to 3600000 ms (an hour)"},
        {"a time-out whose read-back wait would overflow",
         {},
         "read --port COM9 --timeout 214748365",
         2,
         "",
         "must be from 1 to 3600000 ms"},
        {"a capture longer than a year",
         {},
         "listen --port COM9 --seconds 9223372036854775807",
         2,
         "",
         "--seconds: must be from 1 to 31622400 seconds (a year)"},
        {"bad speed", {}, "connect --port COM9 --baud fast", 2, "", "--baud"},
        {"a full disk on standard output",
         {},
         "read --port COM9 --json >/dev/full",
         1,
         "",
         "quillon-cli read: cannot write standard output: No space left on device"},
        {"ports on a full disk",
         {},
         "ports >/dev/full",
         1,
         "",
         "quillon-cli ports: cannot write standard output: No space left on device"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SimForTool sim(WithBundledCatalogue(c.simArgs));
        const ProgramRun run = RunCliOn(sim, c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        if (*c.outText) {
            EXPECT_NE(run.out.find(c.outText), std::string::npos) << run.out;
        }
        if (*c.errText) {
            EXPECT_NE(run.err.find(c.errText), std::string::npos) << run.err;
        } else {
            EXPECT_EQ(run.err, "");
        }
    }
}

TEST(DeviceCli, SetChangesWhatTheDeviceHolds)
{
    const SimForTool sim(WithBundledCatalogue());
    ASSERT_EQ(RunCliOn(sim, "set --port COM9 414201 51C10000=AB 61820000=3000").exitCode, 0);
    const ProgramRun read = RunCliOn(sim, "read --port COM9");
    EXPECT_TRUE(HasLine(read.out, "414201\t校验方式\t奇校验(Odd)")) << read.out;
    EXPECT_TRUE(HasLine(read.out, "61820000\t单次读码时长\t设置读码时长\t3000")) << read.out;
    EXPECT_NE(
        RunCliOn(sim, "read --port COM9 --json").out.find("\"option\": \"设置读码时长\",\n    \"value\": \"3000\""),
        std::string::npos);
    EXPECT_NE(read.out.find("51C10000\t"), std::string::npos);
    EXPECT_NE(read.out.find("\tAB\n"), std::string::npos) << read.out;
    // A refused argument sends nothing: the device still holds the same.
    EXPECT_EQ(RunCliOn(sim, "set --port COM9 414202 999999").exitCode, 2);
    EXPECT_TRUE(HasLine(RunCliOn(sim, "read --port COM9").out, "414201\t校验方式\t奇校验(Odd)"));
}

TEST(DeviceCli, APortHeldByAnotherProgramOrNamedByItsPath)
{
    const SimForTool sim(WithBundledCatalogue());
    const ProgramRun byPath = RunCliOn(sim, "connect --port " + Quote(sim.DevicePath()));
    EXPECT_EQ(byPath.exitCode, 0) << byPath.err;
    EXPECT_EQ(byPath.out, sim.DevicePath() + "\n");

    CnComm holder;
    ASSERT_TRUE(holder.OpenByNumber(9, 115200));
    const ProgramRun busy = RunCliOn(sim, "connect --port COM9");
    EXPECT_EQ(busy.exitCode, 3);
    EXPECT_NE(busy.err.find("in use by another program"), std::string::npos) << busy.err;
    holder.Shutdown();
}

TEST(DeviceCli, EveryVerbTakesItsCatalogueFromTheOptionOrTheEnvironment)
{
    const SimForTool sim(WithBundledCatalogue());
    const TempDir elsewhere;  // no ./config here, nor in the user's folder
    const std::string catalogue = std::string(QUILLON_SOURCE_DIR) + "/config/all.xml";
    const std::string profile = elsewhere.Write(
        "p.json", "{\"format\": \"quillon-profile\", \"version\": 1, \"settings\": [{\"code\": \"414201\"}]}\n");
    const auto run = [&](const std::string& environment, const std::string& arguments) {
        return RunProgram("cd " + Quote(elsewhere.Path().string()) + " && XDG_CONFIG_HOME=" +
                          Quote(elsewhere.Path().string()) + " QUILLON_PORT_LINKS=" + Quote(sim.LinkFolder()) + " " +
                          environment + " " + Quote(QUILLON_CLI) + " " + arguments);
    };
    const std::string verbs[] = {"connect", "read", "set 414201", "diff " + profile, "apply " + profile, "version"};
    for (const std::string& verb : verbs) {
        SCOPED_TRACE(verb);
        const std::string port = " --port COM9";
        EXPECT_NE(run("", verb + port).exitCode, 0);
        const ProgramRun named = run("", verb + port + " --catalogue " + Quote(catalogue));
        EXPECT_EQ(named.exitCode, 0) << named.err;
        const ProgramRun fromEnvironment = run("QUILLON_CATALOGUE=" + Quote(catalogue), verb + port);
        EXPECT_EQ(fromEnvironment.exitCode, 0) << fromEnvironment.err;
    }
}

TEST(DeviceCli, APortLeftWithFlowControlByAnotherProgramIsOpenedRaw)
{
    const SimForTool sim(WithBundledCatalogue());
    const std::string stty = "stty -F " + Quote(sim.DevicePath());
    // What a terminal program may leave; a pseudo-terminal keeps these.
    ASSERT_EQ(RunProgram(stty + " crtscts -clocal cstopb").exitCode, 0);
    const ProgramRun run = RunCliOn(sim, "connect --port COM9");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::string settings = " " + RunProgram(stty + " -a").out;
    std::ranges::replace(settings, '\n', ' ');
    for (const char* flag : {" -crtscts", " clocal", " -parenb", " cs8", " -cstopb", " -ixon", " -icanon"})
        EXPECT_NE(settings.find(flag), std::string::npos) << flag << " in" << settings;
}

// A device node made with mknod below dir; when this user may not make one
// (an unprivileged run), the system's node of the same device stands in.
std::string DeviceNode(const TempDir& dir, const char* name, unsigned major, unsigned minor, const char* system)
{
    const std::string node = (dir.Path() / name).string();
    if (::mknod(node.c_str(), S_IFCHR | 0666, makedev(major, minor)) == 0)
        return node;
    return system;
}

TEST(DeviceCli, WhatIsNoTerminalIsRefusedAsOne)
{
    const SimForTool sim(WithBundledCatalogue());
    const TempDir dir;
    const std::string file = dir.Write("notes.txt", "not a port\n");
    const std::string fifo = (dir.Path() / "fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string null = DeviceNode(dir, "null", 1, 3, "/dev/null");
    const struct {
        std::string port;
        int exitCode;
        std::string err;
    } cases[] = {
        {file, 2, "--port: " + file + ": not a terminal (a regular file)"},
        {fifo, 2, "--port: " + fifo + ": not a terminal (a FIFO)"},
        {dir.Path().string(), 2, "not a terminal (a folder)"},
        {null, 3, "cannot open " + null + ": not a terminal"},
    };
    for (const auto& c : cases) {
        for (const char* verb : {"connect", "read", "version"}) {
            SCOPED_TRACE(c.port + " " + verb);
            const ProgramRun run = RunCliOn(sim, std::string(verb) + " --port " + Quote(c.port) + " --timeout 500");
            EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
            EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
        }
    }
}

}  // namespace
}  // namespace quillon::test
