#pragma once
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "serial/CommSink.h"
#include "serial/PortLinks.h"
#include "support/TempDir.h"

namespace quillon::test {

// A kernel pseudo-terminal: the channel opens the slave through a COMn link,
// the test plays the device on the master.
class PtyPair {
public:
    PtyPair()
    {
        char name[128] = {};
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) == 0)
            slavePath_ = name;
    }
    ~PtyPair()
    {
        CloseMaster();
        ::close(slave_);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& SlavePath() const { return slavePath_; }
    int MasterFd() const { return master_; }
    // Whether the terminal is in exclusive-open mode, which refuses every
    // further open except by root.
    bool Exclusive() const
    {
        int exclusive = -1;
        ::ioctl(slave_, TIOCGEXCL, &exclusive);
        return exclusive == 1;
    }
    void CloseMaster()
    {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }
    void Write(const std::string& bytes) const
    {
        for (size_t done = 0; done < bytes.size();)
            done += size_t(std::max<ssize_t>(0, ::write(master_, bytes.data() + done, bytes.size() - done)));
    }
    // Reads from the master until `count` bytes came or `ms` passed.
    std::string Read(size_t count, int ms = 3000) const
    {
        std::string bytes;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        char chunk[65536];
        while (bytes.size() < count && std::chrono::steady_clock::now() < end) {
            pollfd fd{master_, POLLIN, 0};
            if (::poll(&fd, 1, 20) <= 0)
                continue;
            const ssize_t n = ::read(master_, chunk, std::min(sizeof chunk, count - bytes.size()));
            if (n <= 0)
                break;
            bytes.append(chunk, size_t(n));
        }
        return bytes;
    }

    // From now on the master reads in packet mode, which tells a flush of
    // the slave's output apart from its data.
    void WatchFlushes() const
    {
        int on = 1;
        ::ioctl(master_, TIOCPKT, &on);
    }
    // Whether the slave's output was flushed within `ms` (after WatchFlushes);
    // the data read on the way is dropped.
    bool OutputFlushed(int ms) const
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        char chunk[65536];
        while (std::chrono::steady_clock::now() < end) {
            pollfd fd{master_, POLLIN | POLLPRI, 0};
            if (::poll(&fd, 1, 20) <= 0)
                continue;
            const ssize_t n = ::read(master_, chunk, sizeof chunk);
            if (n <= 0)
                return false;
            if (chunk[0] != TIOCPKT_DATA && (chunk[0] & TIOCPKT_FLUSHWRITE))
                return true;
        }
        return false;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

// Points the port-link folder and the user's configuration folder at a
// fresh temporary folder for the life of the object.
class PortSandbox {
public:
    PortSandbox()
    {
        ::setenv("QUILLON_PORT_LINKS", (dir_.Path() / "links").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (dir_.Path() / "config").c_str(), 1);
    }
    ~PortSandbox()
    {
        ::unsetenv("QUILLON_PORT_LINKS");
        ::unsetenv("XDG_CONFIG_HOME");
    }
    const TempDir& Dir() const { return dir_; }

private:
    TempDir dir_;
};

// Records notifications and lets the test wait for them.
class RecordingSink : public ICommSink {
public:
    struct Note {
        unsigned message;
        int port;
        long argument;
    };

    void OnCommNotify(unsigned message, int port, long argument) override
    {
        std::lock_guard lock(mutex_);
        notes_.push_back({message, port, argument});
        changed_.notify_all();
    }
    size_t Count(unsigned message) const
    {
        std::lock_guard lock(mutex_);
        return Seen(message);
    }
    // True once at least `count` notifications `message` were seen.
    bool WaitFor(unsigned message, size_t count, int ms = 3000)
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::milliseconds(ms), [&] { return Seen(message) >= count; });
    }
    std::vector<Note> Notes() const
    {
        std::lock_guard lock(mutex_);
        return notes_;
    }

private:
    size_t Seen(unsigned message) const
    {
        return size_t(std::count_if(notes_.begin(), notes_.end(), [&](const Note& n) { return n.message == message; }));
    }

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Note> notes_;
};

}  // namespace quillon::test
