#include "cli/PortTargets.h"

#include "serial/PortDiscovery.h"
#include "serial/PortLinks.h"
#include "serial/PortProblem.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cstdlib>
#include <filesystem>
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
    case ENOENT: case ENXIO: case ENODEV: return "no such port";
    case EACCES: case EPERM: return "permission denied";
    case EBUSY: return "in use by another program";
    default: return std::strerror(error);
    }
}

}  // namespace

std::string OpenFailureText(const std::string& port, const std::optional<std::string>& path, int error)
{
    return "cannot open " + port + ": " + OpenFailure(error) + "\n" +
           ExplainPortProblem(GatherPortFacts(path.value_or(port), error));
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
    for (const std::string& name : names) {
        Target target{name, 0, std::nullopt};
        if (const auto number = ComNumber(name)) {
            target.number = *number;
            target.path = ResolvePortPath(*number);
        } else {
            anyPath = true;
            if (std::filesystem::exists(name))
                target.path = name;
        }
        targets_.push_back(std::move(target));
    }
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
