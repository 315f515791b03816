#include "profile/AtomicFile.h"

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

}  // namespace

std::string WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    const std::filesystem::path target = TargetOf(path);
    // Beside the target, so the rename stays on one file system.  Created
    // with the ordinary mode, so the operator's umask applies.
    struct stat existing {};
    const bool replacing = ::stat(target.c_str(), &existing) == 0;
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
    if (replacing && ::fchmod(fd, existing.st_mode & 07777) != 0)
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

}  // namespace quillon
