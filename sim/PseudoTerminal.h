#pragma once
#include <string>

namespace quillon::sim {

// The device's end of the line: a kernel pseudo-terminal whose slave side
// is the "serial port" the tool opens.  The simulator keeps the slave open
// itself, so that the master never sees a hang-up while the tool closes and
// reopens the port.
class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal() { Close(); }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // Opens a raw, non-blocking pair.  False with errno set on failure.
    bool Open();
    // Closing the master is what pulling the cable looks like to the tool.
    void Close();
    bool IsOpen() const { return master_ >= 0; }
    // Drops what was sent but not yet read at the port's end.
    void DropUnread();
    int MasterFd() const { return master_; }
    const std::string& SlavePath() const { return slavePath_; }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

}  // namespace quillon::sim
