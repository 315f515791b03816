#include "serial/PortLinks.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <unistd.h>

namespace quillon {

namespace fs = std::filesystem;

namespace {
fs::path LinkPath(int number)
{
    return fs::path(PortLinkFolder()) / PortName(number);
}
}  // namespace

std::string PortName(int number)
{
    return "COM" + std::to_string(number);
}

std::string PortLinkFolder()
{
    if (const char* folder = std::getenv("QUILLON_PORT_LINKS"); folder && *folder)
        return folder;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
        return (fs::path(runtime) / "quillon" / "ports").string();
    return "/tmp/quillon-" + std::to_string(getuid()) + "/ports";
}

std::optional<std::string> ResolvePortLink(int number)
{
    std::error_code error;
    const auto link = LinkPath(number);
    auto target = fs::read_symlink(link, error);
    if (error)
        return std::nullopt;
    if (target.is_relative())
        target = (fs::canonical(link.parent_path(), error) / target).lexically_normal();
    if (error || !fs::exists(target, error))
        return std::nullopt;
    return target.string();
}

bool PublishPortLink(int number, const std::string& devicePath)
{
    std::error_code error;
    const auto link = LinkPath(number);
    fs::create_directories(link.parent_path(), error);
    fs::remove(link, error);
    fs::create_symlink(devicePath, link, error);
    return !error;
}

void RemovePortLink(int number)
{
    std::error_code ignored;
    fs::remove(LinkPath(number), ignored);
}

}  // namespace quillon
