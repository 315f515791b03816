#include "sim/LineReader.h"

#include <cerrno>
#include <unistd.h>

namespace quillon::sim {

LineReader::State LineReader::ReadFrom(int fd)
{
    // One read per call: the descriptor may be blocking (a terminal), and
    // poll says when there is more.
    char chunk[4096];
    ssize_t got;
    do
        got = ::read(fd, chunk, sizeof chunk);
    while (got < 0 && errno == EINTR);
    if (got > 0) {
        buffer_.append(chunk, static_cast<std::size_t>(got));
        return State::Open;
    }
    return got < 0 && errno == EAGAIN ? State::Open : State::Ended;
}

std::vector<std::string> LineReader::TakeLines()
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = buffer_.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string line = buffer_.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
    }
    buffer_.erase(0, start);
    return lines;
}

std::string LineReader::TakeRest()
{
    std::string rest;
    rest.swap(buffer_);
    return rest;
}

}  // namespace quillon::sim
