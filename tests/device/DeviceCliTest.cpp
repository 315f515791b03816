#include "device/DeviceSession.h"
#include "serial/CnComm.h"
#include "sim/SimProcess.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace quillon {
namespace {

using test::SimProcess;

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string Quote(const std::string& text)
{
    return "'" + text + "'";
}

// quillon-cli as a user calls it, with the simulator's link folder.
CliRun RunCli(const SimProcess& sim, const std::string& args)
{
    const test::TempDir temp;
    const std::string errFile = (temp.Path() / "err").string();
    const std::string links = std::filesystem::path(sim.LinkPath()).parent_path().string();
    const std::string command = "cd " + Quote(QUILLON_SOURCE_DIR) + " && env QUILLON_PORT_LINKS=" + Quote(links) +
                                " " + Quote(QUILLON_CLI) + " " + args + " 2>" + Quote(errFile);
    CliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    char chunk[4096];
    for (std::size_t n; (n = fread(chunk, 1, sizeof chunk, pipe)) > 0;)
        run.out.append(chunk, n);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::stringstream err;
    err << std::ifstream(errFile).rdbuf();
    run.err = err.str();
    return run;
}

// The simulator over the bundled catalogue; the tool's side stays closed.
struct Device {
    explicit Device(std::vector<std::string> args = {}) : sim(WithCatalogue(std::move(args))) { sim.ClosePort(); }
    static std::vector<std::string> WithCatalogue(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--catalogue", "config/all.xml"});
        return args;
    }
    SimProcess sim;
};

bool HasLine(const std::string& out, const std::string& line)
{
    return ("\n" + out).find("\n" + line + "\n") != std::string::npos;
}

struct VerbCase {
    const char* name;
    std::vector<std::string> simArgs;
    const char* args;
    int exitCode;
    const char* outText;   // text stdout must hold ("" for none)
    const char* errText;   // text stderr must hold ("" for nothing)
};

TEST(DeviceCli, VerbsAgainstTheSimulator)
{
    const VerbCase cases[] = {
        {"connect", {}, "connect --port COM9", 0, "COM9，联机", ""},
        {"connect at another speed", {}, "connect --port COM9 --baud 9600", 0, "COM9，联机", ""},
        {"no answer", {"--fault", "silent-probe"}, "connect --port COM9 --timeout 300", 1, "", kConnectFailedText},
        {"a wrong answer, then the right one", {"--fault", "wrong-probe"}, "connect --port COM9", 0, "COM9，联机", ""},
        {"no such port", {}, "connect --port COM77", 3, "", "no such port"},
        {"read", {}, "read --port COM9", 0, "414103\t波特率\t9600", ""},
        {"read as JSON", {}, "read --port COM9 --json", 0, "\"code\": \"414103\",\n    \"setting\": \"波特率\",\n    \"option\": \"9600\",\n    \"value\": null", ""},
        {"set", {}, "set --port COM9 414201", 0, "414201\t校验方式\t奇校验(Odd)", ""},
        {"set a text value", {}, "set --port COM9 51C10000=AB", 0, "", ""},
        {"refused write", {"--fault", "write-error"}, "set --port COM9 414201", 1, "", kWriteRefusedText},
        {"HID report", {"--fault", "hid"}, "set --port COM9 414201", 1, "", kLinkHidText},
        {"baud rate changed", {}, "set --port COM9 414101", 1, "", kBaudChangedText},
        {"a read-back never ended", {"--fault", "no-readback-end"}, "read --port COM9 --timeout 300", 1, "",
         kReadBackStalledText},
        {"unknown code", {}, "set --port COM9 999999", 2, "", "no option with code 999999"},
        {"a value the dialog refuses", {}, "set --port COM9 61820000=xyz", 2, "", "61820000"},
        {"a value for an option without one", {}, "set --port COM9 414201=1", 2, "", "takes no value"},
        {"no port", {}, "read", 2, "", "--port"},
        {"bad speed", {}, "connect --port COM9 --baud fast", 2, "", "--baud"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Device device(c.simArgs);
        const CliRun run = RunCli(device.sim, c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        if (*c.outText)
            EXPECT_NE(run.out.find(c.outText), std::string::npos) << run.out;
        if (*c.errText)
            EXPECT_NE(run.err.find(c.errText), std::string::npos) << run.err;
        else
            EXPECT_EQ(run.err, "");
    }
}

TEST(DeviceCli, SetChangesWhatTheDeviceHolds)
{
    Device device;
    ASSERT_EQ(RunCli(device.sim, "set --port COM9 414201 51C10000=AB").exitCode, 0);
    const CliRun read = RunCli(device.sim, "read --port COM9");
    EXPECT_TRUE(HasLine(read.out, "414201\t校验方式\t奇校验(Odd)")) << read.out;
    EXPECT_NE(read.out.find("51C10000\t"), std::string::npos);
    EXPECT_NE(read.out.find("\tAB\n"), std::string::npos) << read.out;
    // A refused argument sends nothing: the device still holds the same.
    EXPECT_EQ(RunCli(device.sim, "set --port COM9 414202 999999").exitCode, 2);
    EXPECT_TRUE(HasLine(RunCli(device.sim, "read --port COM9").out, "414201\t校验方式\t奇校验(Odd)"));
}

TEST(DeviceCli, APortHeldByAnotherProgramOrNamedByItsPath)
{
    Device device;
    const CliRun byPath = RunCli(device.sim, "connect --port " + Quote(device.sim.DevicePath()));
    EXPECT_EQ(byPath.exitCode, 0) << byPath.err;
    EXPECT_EQ(byPath.out, device.sim.DevicePath() + "\n");

    setenv("QUILLON_PORT_LINKS", std::filesystem::path(device.sim.LinkPath()).parent_path().c_str(), 1);
    CnComm holder;
    ASSERT_TRUE(holder.OpenByNumber(9, 115200));
    const CliRun busy = RunCli(device.sim, "connect --port COM9");
    EXPECT_EQ(busy.exitCode, 3);
    EXPECT_NE(busy.err.find("in use by another program"), std::string::npos) << busy.err;
    holder.Shutdown();
    unsetenv("QUILLON_PORT_LINKS");
}

}  // namespace
}  // namespace quillon
