#include "serial/WireTraceReader.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <sstream>

namespace quillon {

namespace {

// Splits off the next word (separated by one or more spaces).
std::string_view NextWord(std::string_view& text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    const auto end = text.find(' ');
    const std::string_view word = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end);
    return word;
}

template <typename Number> bool ParseNumber(std::string_view text, Number& value, int base = 10)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

std::optional<std::int64_t> ParseSeconds(std::string_view text)
{
    const auto dot = text.find('.');
    std::int64_t seconds = 0;
    std::int64_t micros = 0;
    if (dot == std::string_view::npos || text.size() - dot - 1 != 6 || !ParseNumber(text.substr(0, dot), seconds) ||
        !ParseNumber(text.substr(dot + 1), micros) || seconds < 0 || micros < 0)
        return std::nullopt;
    return seconds * 1000000 + micros;
}

}  // namespace

std::optional<WireRecord> ParseWireLine(std::string_view line)
{
    WireRecord record;
    const auto micros = ParseSeconds(NextWord(line));
    record.port = std::string(NextWord(line));
    if (!micros || record.port.empty() || !ParseNumber(NextWord(line), record.baud))
        return std::nullopt;
    record.micros = *micros;
    const std::string_view direction = NextWord(line);
    if (direction == "open" || direction == "close") {
        record.kind = direction == "open" ? WireEvent::Opened : WireEvent::Closed;
        return NextWord(line).empty() ? std::optional(record) : std::nullopt;
    }
    if (direction != ">" && direction != "<")
        return std::nullopt;
    record.kind = direction == ">" ? WireEvent::Sent : WireEvent::Received;
    const std::string_view route = NextWord(line);
    if (!route.starts_with("route=") || !ParseNumber(route.substr(6), record.route))
        return std::nullopt;
    for (std::string_view word = NextWord(line); !word.empty(); word = NextWord(line)) {
        std::uint8_t byte = 0;
        if (word.size() != 2 || !ParseNumber(word, byte, 16))
            return std::nullopt;
        record.bytes.push_back(byte);
    }
    return record;
}

WireTraceRead ReadWireTrace(std::string_view text)
{
    WireTraceRead read;
    for (std::size_t number = 1; !text.empty(); ++number) {
        const auto end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty())
            continue;
        if (line.starts_with("#")) {
            read.trace.comments.emplace_back(line.substr(line.starts_with("# ") ? 2 : 1));
        } else if (auto record = ParseWireLine(line)) {
            read.trace.records.push_back(std::move(*record));
        } else {
            read.error = "line " + std::to_string(number) + ": not a trace line: " + std::string(line.substr(0, 80));
            return read;
        }
    }
    return read;
}

WireTraceRead ReadWireTraceFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        WireTraceRead failed;
        failed.error = path + ": " + std::strerror(errno);
        return failed;
    }
    std::ostringstream text;
    text << in.rdbuf();
    WireTraceRead read = ReadWireTrace(text.str());
    if (!read.error.empty())
        read.error = path + ": " + read.error;
    return read;
}

std::optional<std::string> WireTraceComment(const WireTrace& trace, std::string_view prefix)
{
    for (const auto& comment : trace.comments)
        if (comment.starts_with(prefix))
            return comment.substr(prefix.size());
    return std::nullopt;
}

}  // namespace quillon
