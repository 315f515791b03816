// quillon-cli firmware against the simulator: the exit status says how the
// download ended, standard error shows how far it came.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <csignal>

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
        std::string errEnd;
    } cases[] = {
        {"hex loaded", {}, hex + " --erase", 0, "加载完毕!\n", "100%\n"},
        {"image upgraded", {}, Quote(image.string()), 0, "升级完毕!\n", "90%\n100%\n"},
        {"image refused",
         {"--fault", "firmware-fail"},
         Quote(image.string()),
         1,
         "",
         "90%\nquillon-cli firmware: 升级失败，请重新升级！\n"},
        {"no such file",
         {},
         Quote((dir.Path() / "none.ci").string()),
         2,
         "",
         "quillon-cli firmware: 未指定文件名！\n" + (dir.Path() / "none.ci").string() +
             ": No such file or directory\n"},
        // Not waited on for a writer that never comes.
        {"a FIFO",
         {},
         Quote(fifo.string()),
         2,
         "",
         "quillon-cli firmware: 未指定文件名！\n" + fifo.string() + ": is not a regular file\n"},
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

// SIGINT ends a transfer at once, closes the port and says so, status 130.
TEST(FirmwareCliTest, AnInterruptStopsTheTransfer)
{
    const TempDir dir;
    const fs::path image = dir.Path() / "big.ci";
    WriteFile(image, Payload(4096 * 200));  // a minute at the line's speed
    SimProcess sim({"--firmware-out", (dir.Path() / "received.bin").string()}, true);
    sim.ClosePort();
    RunningProgram run(CliLineOn(sim, "firmware --port " + Quote(sim.LinkPath()) + " " + Quote(image.string())));
    ASSERT_TRUE(run.WaitForErr("%\n"));
    run.Signal(SIGINT);
    const ProgramRun ended = run.Wait();
    EXPECT_EQ(ended.exitCode, 130) << ended.err;
    EXPECT_TRUE(ended.err.ends_with("quillon-cli firmware: 传输已取消！\n")) << ended.err;
}

TEST(FirmwareCliTest, PortAndArgumentProblems)
{
    const std::string hex = Quote(QUILLON_SIM_FIRMWARE_HEX);
    const struct {
        std::string arguments;
        int status;
        std::string inErr;  // the window's message with the reason below it
    } cases[] = {
        {"--port COM1024 " + hex, 3,
         "quillon-cli firmware: 不能打开指定的COM，请尝试别的端口！\ncannot open COM1024: "},
        {"--port /dev/null-no-such-port " + hex, 3,
         "不能打开指定的COM，请尝试别的端口！\ncannot open /dev/null-no-such-port: no such port"},
        {hex, 2, "--port"},
        {"--port COM9", 2, "FILE"},
        {"--port COM9 a.hex b.hex", 2, "b.hex"},
        {"--port COM9 --fast " + hex, 2, "--fast"},
    };
    for (const auto& c : cases) {
        const ProgramRun run = RunProgram(Quote(QUILLON_CLI) + " firmware " + c.arguments);
        EXPECT_EQ(run.exitCode, c.status) << c.arguments << "\n" << run.err;
        EXPECT_NE(run.err.find(c.inErr), std::string::npos) << c.arguments << "\n" << run.err;
    }
}

}  // namespace
}  // namespace quillon::test
