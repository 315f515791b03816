#include "sim/ControlFifo.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon::sim {

std::string ControlFifo::Create(const std::string& path)
{
    struct stat info {};
    if (lstat(path.c_str(), &info) == 0) {
        if (!S_ISFIFO(info.st_mode))
            return path + " exists and is not a FIFO";
        ::unlink(path.c_str());
    }
    if (mkfifo(path.c_str(), 0600) != 0)
        return "cannot create FIFO " + path + ": " + std::strerror(errno);
    // Opening for reading and writing never blocks and keeps a writer.
    fd_ = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        const std::string error = std::strerror(errno);
        ::unlink(path.c_str());
        return "cannot open FIFO " + path + ": " + error;
    }
    path_ = path;
    return {};
}

ControlFifo::~ControlFifo()
{
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(path_.c_str());
    }
}

}  // namespace quillon::sim
