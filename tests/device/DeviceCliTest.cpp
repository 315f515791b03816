#include "device/DeviceSession.h"
#include "serial/CnComm.h"
#include "support/CliOnSim.h"

#include <gtest/gtest.h>

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
        // connect ends with the read-back it starts, or says it gave up.
        {"connect, the read-back never ended", {"--fault", "no-readback-end"}, "connect --port COM9 --timeout 300", 1,
         "", kReadBackStalledText},
        {"read", {}, "read --port COM9", 0, "414103\t波特率\t9600", ""},
        {"read as JSON", {}, "read --port COM9 --json", 0, "\"code\": \"414103\",\n    \"setting\": \"波特率\",\n    \"option\": \"9600\",\n    \"value\": null", ""},
        {"set", {}, "set --port COM9 414201", 0, "414201\t校验方式\t奇校验(Odd)", ""},
        {"set a text value", {}, "set --port COM9 51C10000=AB", 0, "", ""},
        {"refused write", {"--fault", "write-error"}, "set --port COM9 414201", 1, "", kWriteRefusedText},
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
    ASSERT_EQ(RunCliOn(sim, "set --port COM9 414201 51C10000=AB").exitCode, 0);
    const ProgramRun read = RunCliOn(sim, "read --port COM9");
    EXPECT_TRUE(HasLine(read.out, "414201\t校验方式\t奇校验(Odd)")) << read.out;
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

}  // namespace
}  // namespace quillon::test
