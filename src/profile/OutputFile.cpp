#include "profile/OutputFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace {

std::string Reason(const char* step, int error)
{
    return std::string(step) + ": " + std::strerror(error);
}

// The file a path finally names, following links; the path itself when it
// names nothing yet.
std::filesystem::path TargetOf(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path target = std::filesystem::weakly_canonical(path, error);
    return error ? std::filesystem::path(path) : target;
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written == 0)
            errno = EIO;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// A terminal, a pipe or a character device: what a shell's ">" writes into
// rather than replaces.
bool WrittenInPlace(mode_t mode)
{
    return S_ISCHR(mode) || S_ISFIFO(mode);
}

// /dev/stdout, /dev/fd/N and /proc/self/fd/N name a file the program holds
// open, which another program (a shell's redirection) opened: it is written
// where it stands even when it is a regular file, so that the output lands
// where that program looks for it.
bool NamesAnOpenFile(std::filesystem::path path)
{
    if (path.string().starts_with("/proc/"))
        return true;
    std::error_code error;
    for (int hops = 0; hops < 40 && std::filesystem::is_symlink(path, error); ++hops) {
        std::filesystem::path next = std::filesystem::read_symlink(path, error);
        if (error)
            return false;
        if (next.is_relative())
            next = path.parent_path() / next;
        if (next.string().starts_with("/proc/"))
            return true;
        path = next;
    }
    return false;
}

std::string WriteInPlace(const std::string& path, std::string_view bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return Reason("cannot open", errno);
    std::string failure;
    if (!WriteAll(fd, bytes))
        failure = Reason("cannot write", errno);
    if (::close(fd) != 0 && failure.empty())
        failure = Reason("cannot write", errno);
    return failure;
}

std::string ReplaceWhole(const std::string& path, std::string_view bytes, const struct stat* existing)
{
    const std::filesystem::path target = TargetOf(path);
    // Beside the target, so the rename stays on one file system.  Created
    // with the ordinary mode, so the operator's umask applies.
    std::string temporary;
    int fd = -1;
    for (unsigned attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = target.string() + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return Reason("cannot create a file in the folder", errno);
    std::string failure;
    if (existing && ::fchmod(fd, existing->st_mode & 07777) != 0)
        failure = Reason("cannot set the permissions", errno);
    else if (!WriteAll(fd, bytes) || ::fsync(fd) != 0)
        failure = Reason("cannot write", errno);
    if (::close(fd) != 0 && failure.empty())
        failure = Reason("cannot write", errno);
    if (failure.empty() && ::rename(temporary.c_str(), target.c_str()) != 0)
        failure = Reason("cannot replace the file", errno);
    if (!failure.empty())
        ::unlink(temporary.c_str());
    return failure;
}

}  // namespace

std::string OutputRefusal(const std::string& path)
{
    struct stat existing {};
    if (::stat(path.c_str(), &existing) != 0 || S_ISREG(existing.st_mode) || WrittenInPlace(existing.st_mode))
        return {};
    if (S_ISDIR(existing.st_mode))
        return "is a folder";
    return "is neither a regular file, a terminal nor a pipe";
}

std::string WriteOutputFile(const std::string& path, std::string_view bytes)
{
    if (std::string refusal = OutputRefusal(path); !refusal.empty())
        return refusal;
    // The kernel follows the links, /dev/stdout and /proc/self/fd included,
    // to what the path names now.
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists && (WrittenInPlace(existing.st_mode) || NamesAnOpenFile(path)))
        return WriteInPlace(path, bytes);
    return ReplaceWhole(path, bytes, exists ? &existing : nullptr);
}

}  // namespace quillon
