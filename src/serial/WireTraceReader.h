#pragma once
#include "serial/WireTap.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// One line of a wire trace read back (see FormatWireLine).
struct WireRecord {
    std::int64_t micros = 0;
    std::string port;
    unsigned baud = 0;
    WireEvent::Kind kind = WireEvent::Sent;
    int route = -1;
    std::vector<std::uint8_t> bytes;
};

struct WireTrace {
    std::vector<std::string> comments;  // the text of each "# " line, in order
    std::vector<WireRecord> records;
};

// None for a line that is neither a comment nor a well-formed record.
std::optional<WireRecord> ParseWireLine(std::string_view line);

// The whole trace; error names the first bad line ("line 7: ...").
struct WireTraceRead {
    WireTrace trace;
    std::string error;
};
WireTraceRead ReadWireTrace(std::string_view text);
WireTraceRead ReadWireTraceFile(const std::string& path);

// The text after "PREFIX" of the first comment that starts with it.
std::optional<std::string> WireTraceComment(const WireTrace& trace, std::string_view prefix);

}  // namespace quillon
