#pragma once
#include "serial/WireTap.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// One line of a wire trace: "12.345678 COM9 115200 > route=4 23 41 41"
// (seconds since the trace began, port, line speed, > sent or < received,
// the reply route in effect, the bytes in hex); "... COM9 115200 open" and
// "close" when the port was opened and closed.  No newline.
std::string FormatWireLine(std::int64_t micros, const WireEvent& event);

// The comment lines a trace begins with: what it is, the program and its
// version, the command or session that made it, and how to read the lines.
std::vector<std::string> WireTraceHeader(std::string_view program, std::string_view session);

// Writes the wire traffic of the process into a file, one line per write,
// read, open and close, each written out whole as it happens so that a
// crash loses nothing.  The file may hold decoded barcodes, so it is private
// to its owner.  It stops at a size limit with a last line saying so; a
// file that fails is reported once and tracing stops, the session goes on.
class WireTraceWriter : public IWireObserver {
public:
    static constexpr std::uint64_t kDefaultLimit = 256ull << 20;
    using FailureReport = std::function<void(const std::string& message)>;

    WireTraceWriter() = default;
    ~WireTraceWriter() override;
    WireTraceWriter(const WireTraceWriter&) = delete;
    WireTraceWriter& operator=(const WireTraceWriter&) = delete;

    // Creates the file with mode 0600, or empties an existing regular file
    // (and makes it 0600); refuses anything else.  Writes `header` as
    // comment lines.  Returns an error text, empty on success.
    std::string Open(const std::string& path, const std::vector<std::string>& header,
                     std::uint64_t limit = kDefaultLimit);
    // Told, once, why writing stopped when the file fails later on.
    void SetFailureReport(FailureReport report) { report_ = std::move(report); }
    // A comment line ("# text"), e.g. how the session ended.
    void Note(std::string_view text);
    void Close();
    bool Active() const;
    const std::string& Path() const { return path_; }

    void OnWire(const WireEvent& event) override;

private:
    using Clock = std::chrono::steady_clock;
    // Under mutex_; false when the line was not written.  failure gets the
    // report to make once the lock is released.
    bool WriteLocked(std::string line, std::string& failure);
    void Emit(std::string line);

    mutable std::mutex mutex_;
    int fd_ = -1;
    std::string path_;
    std::uint64_t limit_ = kDefaultLimit;
    std::uint64_t written_ = 0;
    Clock::time_point start_;
    FailureReport report_;
};

}  // namespace quillon
