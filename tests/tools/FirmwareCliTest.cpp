// quillon-cli firmware against the simulator: the exit status says how the
// download ended, standard error shows how far it came.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "support/CliOnSim.h"
#include "tools/FirmwareFixtures.h"

namespace quillon::test {
namespace {

TEST(FirmwareCliTest, ExitStatusAndMessagesFollowTheOutcome)
{
    TempDir dir;
    const fs::path image = dir.Path() / "firmware.ci";
    WriteFile(image, "v=b=1234" + Payload(4096 * 10));
    const fs::path saved = dir.Path() / "received.bin";
    const fs::path fifo = dir.Path() / "firmware.hex";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string hex = Quote(QUILLON_SIM_FIRMWARE_HEX);
    const struct {
        const char* name;
        std::vector<std::string> simArgs;
        std::string arguments;  // after --port LINK
        int status;
        const char* out;
        const char* errEnd;
    } cases[] = {
        {"hex loaded", {}, hex + " --erase", 0, "加载完毕!\n", "100%\n"},
        {"image upgraded", {}, Quote(image.string()), 0, "升级完毕!\n", "90%\n100%\n"},
        {"image refused", {"--fault", "firmware-fail"}, Quote(image.string()), 1, "",
         "90%\nquillon-cli firmware: 升级失败，请重新升级！\n"},
        {"no such file", {}, Quote((dir.Path() / "none.ci").string()), 1, "",
         "quillon-cli firmware: 未指定文件名！\n"},
        // Not waited on for a writer that never comes.
        {"a FIFO", {}, Quote(fifo.string()), 1, "", "quillon-cli firmware: 未指定文件名！\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> simArgs{"--firmware-out", saved.string()};
        simArgs.insert(simArgs.end(), c.simArgs.begin(), c.simArgs.end());
        const SimForTool sim(simArgs);
        const ProgramRun run = RunCliOn(sim, "firmware --port " + Quote(sim.LinkPath()) + " " + c.arguments);
        EXPECT_EQ(run.exitCode, c.status);
        EXPECT_EQ(run.out, c.out);
        EXPECT_TRUE(run.err.ends_with(c.errEnd)) << run.err;
    }
    EXPECT_EQ(ReadFile(saved), Payload(4096 * 10));
}

TEST(FirmwareCliTest, PortAndArgumentProblems)
{
    const std::string hex = Quote(QUILLON_SIM_FIRMWARE_HEX);
    const struct {
        std::string arguments;
        int status;
    } cases[] = {
        {"--port COM1024 " + hex, 3},
        {"--port /dev/null-no-such-port " + hex, 3},
        {hex, 2},
        {"--port COM9", 2},
        {"--port COM9 a.hex b.hex", 2},
        {"--port COM9 --fast " + hex, 2},
    };
    for (const auto& c : cases) {
        const ProgramRun run = RunProgram(Quote(QUILLON_CLI) + " firmware " + c.arguments);
        EXPECT_EQ(run.exitCode, c.status) << c.arguments << "\n" << run.err;
        EXPECT_FALSE(run.err.empty()) << c.arguments;
    }
}

}  // namespace
}  // namespace quillon::test
