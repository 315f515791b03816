#include "serial/PortDiscovery.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>

#include "serial/PortLinks.h"
#include "serial/PortMap.h"

namespace quillon {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxPort = 1024;

// Friendly names are parsed by their first "(", so the description must not
// bring brackets of its own.
std::string FriendlyName(std::string description, int number)
{
    for (char& c : description) {
        if (c == '(')
            c = '[';
        else if (c == ')')
            c = ']';
    }
    return description + " (" + PortName(number) + ")";
}

// Numbers with a live link in the port-link folder, ascending.
std::vector<std::pair<int, std::string>> Links()
{
    std::vector<std::pair<int, std::string>> links;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(PortLinkFolder(), error)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with("COM"))
            continue;
        const auto number = PortNumberFromFriendlyName("(" + name + ")");
        if (!number || PortName(*number) != name)
            continue;
        if (const auto target = ResolvePortLink(*number))
            links.emplace_back(*number, *target);
    }
    std::sort(links.begin(), links.end());
    return links;
}

}  // namespace

std::optional<int> PortNumberFromFriendlyName(std::string_view name)
{
    if (name.find("(COM") == std::string_view::npos)
        return std::nullopt;
    const std::string_view cut = name.substr(0, name.find(')'));
    const size_t open = cut.find('(');
    if (open == std::string_view::npos || !cut.substr(open + 1).starts_with("COM"))
        return std::nullopt;
    std::string_view rest = cut.substr(open + 4);
    while (!rest.empty() && std::isspace(static_cast<unsigned char>(rest.front())))
        rest.remove_prefix(1);
    if (!rest.empty() && rest.front() == '+')
        rest.remove_prefix(1);
    long number = 0;
    size_t digits = 0;
    while (digits < rest.size() && std::isdigit(static_cast<unsigned char>(rest[digits])) && number <= kMaxPort) {
        number = number * 10 + (rest[digits] - '0');
        ++digits;
    }
    if (digits == 0 || number < 1 || number > kMaxPort)
        return std::nullopt;
    return static_cast<int>(number);
}

std::vector<PortEntry> SelectPorts(const std::vector<PortCandidate>& candidates)
{
    std::vector<PortEntry> selected;
    std::set<int> seen;
    for (const auto& candidate : candidates) {
        if (selected.size() == kMaxDiscoveredPorts)
            break;
        const auto number = PortNumberFromFriendlyName(candidate.friendlyName);
        if (number && seen.insert(*number).second)
            selected.push_back({*number, candidate.devicePath, candidate.friendlyName});
    }
    std::sort(selected.begin(), selected.end(),
              [](const PortEntry& a, const PortEntry& b) { return a.number < b.number; });
    return selected;
}

std::vector<PortCandidate> EnumeratePortCandidates(const std::vector<HardwarePort>& hardware)
{
    std::vector<PortCandidate> candidates;
    std::set<int> linked;
    for (const auto& [number, target] : Links()) {
        linked.insert(number);
        candidates.push_back({target, FriendlyName(target, number)});
    }
    CPortMap map;
    map.Load();
    for (const auto& port : hardware) {
        const int number = map.Assign(port.identity, linked);
        if (number > 0 && !linked.contains(number))
            candidates.push_back({port.devicePath, FriendlyName(port.description, number)});
    }
    if (map.Changed())
        map.Save();
    return candidates;
}

std::vector<PortCandidate> EnumeratePortCandidates()
{
    return EnumeratePortCandidates(EnumerateHardwarePorts());
}

std::vector<PortEntry> DiscoverPorts()
{
    return SelectPorts(EnumeratePortCandidates());
}

namespace {

// The node a path names, following links; the path itself when it is gone.
std::string NodeOf(const std::string& path)
{
    std::error_code error;
    const fs::path node = fs::canonical(path, error);
    return error ? path : node.string();
}

}  // namespace

std::optional<HardwarePort> FindHardwarePort(const std::vector<HardwarePort>& hardware, const std::string& name)
{
    if (name.empty())
        return std::nullopt;
    const std::string node = NodeOf(name);
    for (const HardwarePort& port : hardware) {
        if (port.serialNumber == name || NodeOf(port.devicePath) == node)
            return port;
    }
    return std::nullopt;
}

std::vector<PortDescription> DescribePorts(const std::vector<PortEntry>& ports,
                                           const std::vector<HardwarePort>& hardware)
{
    std::vector<PortDescription> described;
    for (const PortEntry& entry : ports) {
        PortDescription port{entry.number, entry.devicePath, "", ""};
        if (const auto found = FindHardwarePort(hardware, entry.devicePath)) {
            port.description = found->description;
            port.identity = found->identity.starts_with("/dev/serial/by-id/") ? found->identity : found->serialNumber;
        }
        described.push_back(std::move(port));
    }
    return described;
}

std::vector<PortDescription> DescribePorts()
{
    const std::vector<HardwarePort> hardware = EnumerateHardwarePorts();
    return DescribePorts(SelectPorts(EnumeratePortCandidates(hardware)), hardware);
}

std::vector<std::string> ListPortNames()
{
    std::vector<std::string> names;
    for (const auto& candidate : EnumeratePortCandidates()) {
        if (const auto number = PortNumberFromFriendlyName(candidate.friendlyName))
            names.push_back(PortName(*number));
    }
    return names;
}

std::optional<std::string> ResolvePortPath(int number)
{
    if (auto link = ResolvePortLink(number))
        return link;
    CPortMap map;
    map.Load();
    auto identity = map.IdentityOf(number);
    std::error_code error;
    if (identity && fs::exists(*identity, error))
        return identity;
    return std::nullopt;
}

}  // namespace quillon
