#pragma once
#include <optional>
#include <string>
#include <vector>

namespace quillon::cli {

// The COM number of "COMn", or nullopt for any other name.
std::optional<int> ComNumber(const std::string& port);

// Why the port named `port` (at `path`, when it has one) did not open, given
// the system's error: "cannot open PORT: no such port", with what the
// machine shows about it on the lines below.
std::string OpenFailureText(const std::string& port, const std::optional<std::string>& path, int error);

// The ports an apply works: "all" stands for every present port, and a
// port named twice (by its COM name, its device path or a link to it, its
// USB serial number) is worked once, under the name it was given first.
std::vector<std::string> ExpandPortNames(const std::vector<std::string>& names);

// The word that names every present port.
inline constexpr const char* kAllPorts = "all";

// The ports of one run as the user named them, COMn, a device path or a USB
// serial number, each to be opened by a COM number as the window opens its
// port.  A path that names no terminal device (a regular file, a FIFO, a
// folder) is refused with CLI::ValidationError before anything is opened.  A device path
// needs a link of its own: when there is one, a private link folder is made
// and named in QUILLON_PORT_LINKS, and it gets a link for every port given
// (the COM names keep their numbers), so that one change of the environment,
// made here before any channel thread runs, serves all of them.
class PortTargets {
public:
    struct Target {
        std::string name;                 // as given
        int number = 0;                   // the COM number to open it by
        std::optional<std::string> path;  // the device; nullopt when there is none
    };

    // What to tell about a port that is not there: the ports that are, as
    // they were before the private link folder took the links' place.
    const std::string& PresentPorts() const { return presentPorts_; }

    explicit PortTargets(const std::vector<std::string>& names);
    ~PortTargets();
    PortTargets(const PortTargets&) = delete;
    PortTargets& operator=(const PortTargets&) = delete;

    const Target& operator[](std::size_t index) const { return targets_.at(index); }
    std::size_t size() const { return targets_.size(); }

private:
    std::vector<Target> targets_;
    std::string linkFolder_;  // empty when every port was a COM name
    std::string presentPorts_;
};

// The ports present now, in a line: "the ports present: COM1 (/dev/ttyS0) ...".
std::string PresentPortsText();

}  // namespace quillon::cli
