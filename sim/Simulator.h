#pragma once
#include "sim/CommandInterpreter.h"
#include "sim/ControlFifo.h"
#include "sim/Device.h"
#include "sim/LineReader.h"
#include "sim/OutputQueue.h"
#include "sim/PortUsers.h"
#include "sim/PseudoTerminal.h"
#include "sim/SimOptions.h"
#include "sim/TracePlayer.h"

#include <cstdio>
#include <memory>

namespace quillon::sim {

// The running simulator: the pseudo-terminal and its COM link, the device
// behind it, and the control channels, all driven by one poll loop.
class Simulator : public LinkControl {
public:
    Simulator(const SimOptions& options, DeviceSettings settings, std::FILE* messages);
    ~Simulator() override;

    // Opens the line and the control FIFO; returns an error text, empty on success.
    std::string Start();
    // Plays the trace's records of this port instead of the device.
    void Replay(std::vector<WireRecord> records);
    // Runs until quit, SIGINT, SIGTERM or SIGHUP, or until a replayed trace
    // is played; the COM link is removed on the way out.  1 when a replay
    // saw a frame the trace did not have.
    int Run();

    void Unplug() override;
    std::string Plug() override;
    void Quit() override { running_ = false; }
    std::string Status() const override;

private:
    // Reads what the tool sent, no faster than the line carries it; returns
    // when reading may go on if the pace holds it back.
    std::optional<SimTime> ReadLine(SimTime now);
    void ReadControl(int fd, LineReader& reader, bool& open);
    void Say(const std::string& text);
    // The program using the port opened or closed it.
    void PortUseChanged();

    SimOptions options_;
    std::FILE* messages_;
    OutputQueue out_;
    LinePace inPace_;
    std::optional<SimTime> readResume_;
    Device device_;
    std::unique_ptr<TracePlayer> replay_;
    CommandInterpreter interpreter_;
    PseudoTerminal pty_;
    PortUsers users_;
    ControlFifo fifo_;
    LineReader stdinLines_;
    LineReader fifoLines_;
    bool stdinOpen_ = true;
    bool fifoOpen_ = false;
    bool running_ = true;
    int signalFd_ = -1;
};

}  // namespace quillon::sim
