#include "serial/WireTraceWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>

namespace quillon {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

std::string LimitText(std::uint64_t limit)
{
    if (limit % (1ull << 20) == 0)
        return std::to_string(limit >> 20) + " MB";
    return std::to_string(limit) + " bytes";
}

bool WriteAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t done = ::write(fd, text.data(), text.size());
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return false;
        text.remove_prefix(static_cast<std::size_t>(done));
    }
    return true;
}

}  // namespace

std::string FormatWireLine(std::int64_t micros, const WireEvent& event)
{
    char stamp[48];
    std::snprintf(stamp, sizeof stamp, "%" PRId64 ".%06" PRId64 " ", micros / 1000000, micros % 1000000);
    std::string line = stamp;
    line.append(event.port).append(" ").append(std::to_string(event.baud));
    switch (event.kind) {
    case WireEvent::Opened: return line + " open";
    case WireEvent::Closed: return line + " close";
    case WireEvent::Sent: line += " > route="; break;
    case WireEvent::Received: line += " < route="; break;
    }
    line += std::to_string(event.route);
    line.reserve(line.size() + 3 * event.bytes.size());
    for (const std::uint8_t byte : event.bytes) {
        line += ' ';
        line += kHexDigits[byte >> 4];
        line += kHexDigits[byte & 0x0F];
    }
    return line;
}

std::vector<std::string> WireTraceHeader(std::string_view program, std::string_view session)
{
    return {"quillon wire trace", "program: " + std::string(program) + " " + QUILLON_VERSION,
            "session: " + std::string(session),
            "lines: SECONDS PORT BAUD > (sent) or < (received) route=ROUTE HEX BYTES; PORT BAUD open|close"};
}

WireTraceWriter::~WireTraceWriter()
{
    Close();
}

std::string WireTraceWriter::Open(const std::string& path, const std::vector<std::string>& header, std::uint64_t limit)
{
    Close();
    // Not truncated on open: what is there is looked at first, so that a
    // device node or a pipe named by mistake is left as it is.
    if (struct stat existing{}; ::stat(path.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode))
        return path + ": not a regular file";
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0600);
    if (fd < 0)
        return path + ": " + std::strerror(errno);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return path + ": not a regular file";
    }
    if (::ftruncate(fd, 0) != 0 || ::fchmod(fd, 0600) != 0) {
        const std::string error = std::strerror(errno);
        ::close(fd);
        return path + ": " + error;
    }
    {
        std::lock_guard lock(mutex_);
        fd_ = fd;
        path_ = path;
        limit_ = limit;
        written_ = 0;
        start_ = Clock::now();
    }
    for (const auto& line : header)
        Note(line);
    if (!Active())
        return path + ": cannot be written";
    return {};
}

bool WireTraceWriter::Active() const
{
    std::lock_guard lock(mutex_);
    return fd_ >= 0;
}

void WireTraceWriter::Close()
{
    std::lock_guard lock(mutex_);
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

void WireTraceWriter::Note(std::string_view text)
{
    Emit("# " + std::string(text));
}

void WireTraceWriter::OnWire(const WireEvent& event)
{
    std::string failure;
    {
        // The clock is read under the lock, so that the times of the lines
        // never go back whatever thread wrote them.
        std::lock_guard lock(mutex_);
        if (fd_ < 0)
            return;
        const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start_).count();
        WriteLocked(FormatWireLine(micros, event), failure);
    }
    if (!failure.empty() && report_)
        report_(failure);
}

void WireTraceWriter::Emit(std::string line)
{
    std::string failure;
    {
        std::lock_guard lock(mutex_);
        if (fd_ < 0)
            return;
        WriteLocked(std::move(line), failure);
    }
    if (!failure.empty() && report_)
        report_(failure);
}

bool WireTraceWriter::WriteLocked(std::string line, std::string& failure)
{
    line += '\n';
    const std::string stop = "# trace stopped: it reached its limit of " + LimitText(limit_) + "\n";
    const bool fits = written_ + line.size() + stop.size() <= limit_;
    if (!WriteAll(fd_, fits ? line : stop)) {
        failure = "the trace " + path_ + " cannot be written (" + std::strerror(errno) + "); tracing stopped";
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    written_ += fits ? line.size() : stop.size();
    if (!fits) {
        ::close(fd_);
        fd_ = -1;
    }
    return fits;
}

}  // namespace quillon
