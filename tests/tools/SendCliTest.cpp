// quillon-cli send against the simulator and against a line the test plays
// itself: what is printed, what goes on the wire, the exit status.
#include "base/HexText.h"
#include "catalogue/CatalogueLoader.h"
#include "catalogue/CatalogueTree.h"
#include "catalogue/XmlReader.h"
#include "device/FrameBuilder.h"
#include "device/FrameWriter.h"
#include "serial/PtyPair.h"
#include "sim/SimProcess.h"
#include "support/ProgramRun.h"
#include "support/RecordingPrompt.h"
#include "tools/CommandInteraction.h"

#include <gtest/gtest.h>

#include <thread>

namespace quillon::test {
namespace {

struct CollectingWriter : IFrameWriter {
    void Write(const std::uint8_t* bytes, std::size_t count) override { hex += ToHex(bytes, count); }
    std::string hex;
};

// The connect probe exactly as the window sends it, built from the
// simulator's catalogue.
std::string ProbeFrame()
{
    CatalogueLists lists;
    CatalogueTree tree;
    CXmlReader reader;
    RecordingPrompt prompt;
    EXPECT_EQ(CatalogueLoader(reader, lists, tree, prompt).LoadCatalogue(QUILLON_SIM_CATALOGUE), 0);
    std::vector<RsComStr> monitor;
    CollectingWriter writer;
    FrameBuilder(lists, monitor, writer).SendConnectProbes();
    return writer.hex;
}

ProgramRun Send(const std::string& arguments)
{
    return RunProgram(Quote(QUILLON_CLI) + " send " + arguments);
}

TEST(SendCliTest, PrintsTheExchangeAsTheDialogLogsIt)
{
    const std::string probe = ProbeFrame();
    ASSERT_EQ(probe, "231040");
    const struct {
        const char* name;
        std::string commands;
        int status;
        const char* out;
        const char* err;
    } cases[] = {
        {"answered", probe + " 233040", 0,
         "-> 0x23 0x10 0x40 \n<- 0x24 0x10 0x40 0x01 \n-> 0x23 0x30 0x40 \n<- 0x24 0x30 0x40 0x01 \n", ""},
        // A read of a key the device does not have goes unanswered; what
        // follows it is not sent.
        {"ignored", "237F3F 233040", 1, "-> 0x23 0x7F 0x3F \n<- \n", "无法识别的命令，请重试！\n"},
        {"answered, then ignored", probe + " 237f3f", 1,
         "-> 0x23 0x10 0x40 \n<- 0x24 0x10 0x40 0x01 \n-> 0x23 0x7f 0x3f \n<- \n", "无法识别的命令，请重试！\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimProcess sim;
        sim.ClosePort();
        const ProgramRun run = Send("--port " + Quote(sim.LinkPath()) + " --timeout 2000 " + c.commands);
        EXPECT_EQ(run.exitCode, c.status);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, *c.err ? "quillon-cli send: " + sim.LinkPath() + ": " + c.err : "");
    }
}

TEST(SendCliTest, TypedCharactersGoOutAsTyped)
{
    PtyPair pty;
    ProgramRun run;
    std::thread cli([&] { run = Send("--port " + Quote(pty.SlavePath()) + " '55 AA ' zZ0a"); });
    const std::string first = pty.Read(3, 10000);
    pty.Write("\x01");
    const std::string second = pty.Read(2, 10000);
    pty.Write(std::string("\x00\xfe", 2));
    cli.join();
    EXPECT_EQ(first, "\x55\xff\xff");
    EXPECT_EQ(second, "\xff\x0a");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "-> 0x55 0x A 0xA  \n<- 0x01 \n-> 0xzZ 0x0a \n<- 0x00 0xfe \n");
}

TEST(SendCliTest, RefusalsSendNothing)
{
    PtyPair pty;
    const struct {
        std::string arguments;
        int status;
        const char* errPart;
    } cases[] = {
        {"--port " + Quote(pty.SlavePath()) + " 0102 55AA0", 2, kCommandLengthText},
        {"--port " + Quote(pty.SlavePath()) + " 'AB中'", 2, kCommandLengthText},
        {"--port COM1024 0102", 3, "cannot open COM1024"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const ProgramRun run = Send(c.arguments);
        EXPECT_EQ(run.exitCode, c.status);
        EXPECT_NE(run.err.find(c.errPart), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(pty.Read(1, 200), "");
}

}  // namespace
}  // namespace quillon::test
