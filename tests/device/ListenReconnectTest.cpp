#include "sim/SimProcess.h"
#include "support/ProgramRun.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>

namespace quillon {
namespace {

using test::SimProcess;

// quillon-cli listen running beside the simulator, its standard output and
// error read line by line as they come, so the test can act on them.
class Listening {
public:
    Listening(const SimProcess& sim, const std::string& arguments)
    {
        const std::string links = std::filesystem::path(sim.LinkPath()).parent_path().string();
        const std::string command = "cd " + test::Quote(QUILLON_SOURCE_DIR) +
                                    " && env QUILLON_PORT_LINKS=" + test::Quote(links) + " " +
                                    test::Quote(QUILLON_CLI) + " listen --port COM9 " + arguments + " 2>&1";
        pipe_ = ::popen(command.c_str(), "r");
    }
    ~Listening()
    {
        if (pipe_)
            Finish();
    }

    // Reads until a line holds `text`; false when the program ended first
    // (its --seconds bound this).
    bool WaitFor(const std::string& text)
    {
        char line[4096];
        while (std::fgets(line, sizeof line, pipe_)) {
            out_ += line;
            if (std::string(line).find(text) != std::string::npos)
                return true;
        }
        return false;
    }
    const std::string& Printed() const { return out_; }
    // Everything it printed, and its exit status.
    std::pair<std::string, int> Finish()
    {
        WaitFor("\x01");  // to the end
        const int status = ::pclose(pipe_);
        pipe_ = nullptr;
        return {out_, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
    }

private:
    FILE* pipe_ = nullptr;
    std::string out_;
};

// The simulator with the tool's side closed, for the tool under test; its
// report of the helper's own open and close is read past, so that the next
// "COM9 opened" is the tool's.
struct Device {
    Device()
    {
        sim.ClosePort();
        sim.Command("plug");
        EXPECT_FALSE(sim.WaitForLine("already plugged in").empty());
    }
    SimProcess sim{{"--catalogue", "config/all.xml"}};
};

TEST(ListenReconnect, RecordsFromBeforeAndAfterTheDeviceCameBack)
{
    Device d;
    Listening listen(d.sim, "--reconnect --count 2 --seconds 30");
    ASSERT_TRUE(listen.WaitFor("listening on COM9"));
    d.sim.Command("scan BEFORE-1");
    ASSERT_TRUE(listen.WaitFor("BEFORE-1"));

    d.sim.Command("unplug");
    ASSERT_TRUE(listen.WaitFor("COM9 lost; waiting a minute"));
    d.sim.Command("plug");
    ASSERT_TRUE(listen.WaitFor("back, listening again on COM9")) << listen.Printed();
    d.sim.Command("scan AFTER-2");

    const auto [out, status] = listen.Finish();
    EXPECT_EQ(status, 0) << out;
    EXPECT_EQ(out, "quillon-cli listen: listening on COM9\n"
                   "BEFORE-1\n"
                   "quillon-cli listen: COM9 lost; waiting a minute for it to come back\n"
                   "quillon-cli listen: back, listening again on COM9\n"
                   "AFTER-2\n");
}

TEST(ListenReconnect, EndsAsBeforeWithoutTheOptionOrWhenTheTimeIsUp)
{
    const struct {
        const char* name;
        const char* arguments;
        int status;
        const char* out;
    } cases[] = {
        {"without --reconnect a lost port ends it", "--seconds 30", 1, "quillon-cli listen: listening on COM9\n"},
        {"--seconds ends the wait", "--reconnect --seconds 2", 0,
         "quillon-cli listen: listening on COM9\n"
         "quillon-cli listen: COM9 lost; waiting a minute for it to come back\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Device d;
        Listening listen(d.sim, c.arguments);
        // Unplugged only once the port is open and set up.
        ASSERT_TRUE(listen.WaitFor("listening on COM9"));
        d.sim.Command("unplug");
        const auto [out, status] = listen.Finish();
        EXPECT_EQ(status, c.status) << out;
        EXPECT_EQ(out, c.out);
    }
}

}  // namespace
}  // namespace quillon
