#include "serial/LinkFolderWatch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <filesystem>

#include "serial/PortLinks.h"

namespace quillon {

LinkFolderWatch::LinkFolderWatch() : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
{
    if (fd_ < 0)
        return;
    const std::string folder = PortLinkFolder();
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const uint32_t comeAndGo = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
    ::inotify_add_watch(fd_, folder.c_str(), comeAndGo);
    ::inotify_add_watch(fd_, "/dev/pts", IN_CREATE | IN_DELETE);
}

LinkFolderWatch::~LinkFolderWatch()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool LinkFolderWatch::Drain()
{
    bool changed = false;
    alignas(inotify_event) char buffer[4096];
    while (fd_ >= 0 && ::read(fd_, buffer, sizeof buffer) > 0)
        changed = true;
    return changed;
}

}  // namespace quillon
