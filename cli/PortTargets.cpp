#include "cli/PortTargets.h"

#include "serial/PortDiscovery.h"
#include "serial/PortLinks.h"
#include "serial/PortProblem.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <unistd.h>

namespace quillon::cli {

namespace {

std::optional<int> ParseNumber(const std::string& text)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoi(text);
}

std::string OpenFailure(int error)
{
    switch (error) {
    case ENOENT:
    case ENXIO:
    case ENODEV: return "no such port";
    case EACCES:
    case EPERM: return "permission denied";
    case EBUSY: return "in use by another program";
    case ENOTTY: return "not a terminal";
    default: return std::strerror(error);
    }
}

// The device a port name stands for, so that two names of one device meet.
std::string DeviceOf(const std::string& name, const std::vector<HardwarePort>& hardware)
{
    std::optional<std::string> path;
    if (const auto number = ComNumber(name))
        path = ResolvePortPath(*number);
    else if (std::filesystem::exists(name))
        path = name;
    else if (const auto port = FindHardwarePort(hardware, name))
        path = port->devicePath;
    if (!path)
        return name;
    std::error_code error;
    const std::filesystem::path node = std::filesystem::canonical(*path, error);
    return error ? *path : node.string();
}

bool NeedsHardware(const std::vector<std::string>& names)
{
    return std::ranges::any_of(names, [](const std::string& name) {
        return !ComNumber(name) && name != kAllPorts && !std::filesystem::exists(name);
    });
}

// A name that is a file but no terminal device.
void RefuseNonTerminal(const std::string& name)
{
    std::error_code error;
    const auto status = std::filesystem::status(name, error);
    const char* kind = nullptr;
    switch (status.type()) {
    case std::filesystem::file_type::regular: kind = "a regular file"; break;
    case std::filesystem::file_type::fifo: kind = "a FIFO"; break;
    case std::filesystem::file_type::directory: kind = "a folder"; break;
    case std::filesystem::file_type::socket: kind = "a socket"; break;
    case std::filesystem::file_type::block: kind = "a block device"; break;
    default: return;
    }
    throw CLI::ValidationError("--port", name + ": not a terminal (" + kind + ")");
}

}  // namespace

std::string OpenFailureText(const std::string& port, const std::optional<std::string>& path, int error)
{
    return "cannot open " + port + ": " + OpenFailure(error) + "\n" +
           ExplainPortProblem(GatherPortFacts(path.value_or(port), error));
}

std::vector<std::string> ExpandPortNames(const std::vector<std::string>& names)
{
    std::vector<std::string> expanded;
    for (const std::string& name : names) {
        if (name != kAllPorts) {
            expanded.push_back(name);
            continue;
        }
        for (const PortEntry& port : DiscoverPorts())
            expanded.push_back(PortName(port.number));
    }
    const std::vector<HardwarePort> hardware =
        NeedsHardware(expanded) ? EnumerateHardwarePorts() : std::vector<HardwarePort>{};
    std::vector<std::string> once;
    std::set<std::string> devices;
    for (const std::string& name : expanded) {
        if (devices.insert(DeviceOf(name, hardware)).second)
            once.push_back(name);
    }
    return once;
}

std::string PresentPortsText()
{
    const std::vector<PortEntry> ports = DiscoverPorts();
    if (ports.empty())
        return "no serial port is present";
    std::string text = "the ports present:";
    for (const PortEntry& port : ports)
        text += " " + PortName(port.number) + " (" + port.devicePath + ")";
    return text;
}

std::optional<int> ComNumber(const std::string& port)
{
    if (port.size() < 4 || port.compare(0, 3, "COM") != 0)
        return std::nullopt;
    return ParseNumber(port.substr(3));
}

PortTargets::PortTargets(const std::vector<std::string>& names)
{
    bool anyPath = false;
    const std::vector<HardwarePort> hardware =
        NeedsHardware(names) ? EnumerateHardwarePorts() : std::vector<HardwarePort>{};
    for (const std::string& name : names) {
        Target target{name, 0, std::nullopt};
        if (const auto number = ComNumber(name)) {
            target.number = *number;
            target.path = ResolvePortPath(*number);
        } else {
            anyPath = true;
            if (std::filesystem::exists(name)) {
                RefuseNonTerminal(name);
                target.path = name;
            } else if (const auto port = FindHardwarePort(hardware, name)) {
                target.path = port->devicePath;
            }
        }
        targets_.push_back(std::move(target));
    }
    if (std::ranges::any_of(targets_, [](const Target& t) { return !t.path; }))
        presentPorts_ = PresentPortsText();
    if (!anyPath)
        return;

    std::string folder = (std::filesystem::temp_directory_path() / "quillon-cli-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) {
        for (Target& target : targets_)
            target.path.reset();
        return;
    }
    linkFolder_ = folder;
    ::setenv("QUILLON_PORT_LINKS", folder.c_str(), 1);
    // Device paths take the lowest numbers no COM name given uses.
    int next = 1;
    const auto taken = [&](int number) {
        return std::ranges::any_of(targets_, [&](const Target& t) { return ComNumber(t.name) == number; });
    };
    for (Target& target : targets_) {
        if (!ComNumber(target.name)) {
            while (taken(next))
                ++next;
            target.number = next++;
        }
        if (target.path && !PublishPortLink(target.number, *target.path))
            target.path.reset();
    }
}

PortTargets::~PortTargets()
{
    if (linkFolder_.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove_all(linkFolder_, ignored);
}

}  // namespace quillon::cli
