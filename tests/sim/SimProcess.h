#pragma once
#include "support/TempDir.h"

#include <chrono>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace quillon::test {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

// quillon-sim started as a child process with its own port-link folder, and
// the tool's end of its line: the COM link opened as a serial port.
class SimProcess {
public:
    // Starts the simulator with the test catalogue and extra arguments
    // (unpaced unless asked); waits for its "serving" line and opens the port.
    explicit SimProcess(std::vector<std::string> extraArgs = {}, bool paced = false);
    // For a replay: the simulator with exactly `args`, its standard error
    // read with its output (WaitForLine), and the test's end of the line
    // left closed, so that the tool under test is the only one to open it.
    struct Replaying {};
    SimProcess(Replaying, std::vector<std::string> args);
    // For a tool that opens the port itself, one of several simulators
    // perhaps: serving COM`com` in the link folder `links`, the test's end of
    // the line left closed.  Reports trouble by exceptions only, so the
    // benchmarks use it too.
    struct Serving {
        int com = 9;
        std::string links;
        std::string catalogue = "config/all.xml";  // as seen from the working folder
        bool paced = false;                        // replies at the line speed (115200 baud)
        std::vector<std::string> extra;            // more arguments (--fault ...)
    };
    explicit SimProcess(const Serving& serving);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    std::string LinkFolder() const { return links_; }
    std::string Name() const { return "COM" + std::to_string(com_); }
    std::string LinkPath() const { return LinkFolder() + "/" + Name(); }
    const std::string& DevicePath() const { return devicePath_; }

    // The tool's side of the line.
    void OpenPort();
    void ClosePort();
    void Send(const Bytes& bytes);
    // Exactly count bytes, or fewer when the time-out passes first.
    Bytes Read(std::size_t count, std::chrono::milliseconds timeout = 10s) { return Pull(count, timeout, timeout); }
    // Everything that arrives until the line has been quiet for `quiet`.
    Bytes ReadUntilQuiet(std::chrono::milliseconds quiet)
    {
        return Pull(std::numeric_limits<std::size_t>::max(), 1h, quiet);
    }
    // True when the port reports a hang-up or an error within the time-out.
    bool WaitForHangUp(std::chrono::milliseconds timeout);

    // A control line on the simulator's standard input.
    void Command(const std::string& line);
    // Reads printed lines until one contains text; returns it ("" on time-out).
    std::string WaitForLine(const std::string& text, std::chrono::milliseconds timeout = 10s);

    // Sends SIGINT and waits; returns the exit status (-1 when it had to be killed).
    int Stop();
    // Waits for the simulator to end by itself: its exit status, -1 when it
    // is still running after `timeout` (it is then stopped).
    int WaitForExit(std::chrono::milliseconds timeout);

private:
    void Launch(std::vector<std::string> args, bool withStderr);
    Bytes Pull(std::size_t count, std::chrono::milliseconds total, std::chrono::milliseconds quiet);

    TempDir dir_;
    std::string links_ = (dir_.Path() / "ports").string();
    int com_ = 9;
    int pid_ = -1;
    int stdinFd_ = -1;
    int stdoutFd_ = -1;
    int port_ = -1;
    std::string devicePath_;
    std::string printed_;
};

// quillon-sim for a tool under test that opens COM9 itself: the test's end of
// the line stays closed, and while it lives this process finds ports in the
// simulator's link folder and keeps its settings in a folder of its own.
class SimForTool : public SimProcess {
public:
    explicit SimForTool(std::vector<std::string> extraArgs = {}, bool paced = false);
    ~SimForTool();
};

// Arguments that make the simulator play the device of the bundled
// catalogue (./config/all.xml) in place of the test catalogue's.
std::vector<std::string> WithBundledCatalogue(std::vector<std::string> extraArgs = {});

Bytes HexBytes(const std::string& hex);
std::string HexText(const Bytes& bytes);

}  // namespace quillon::test
