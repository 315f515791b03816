#include "sim/OutputQueue.h"

#include <algorithm>
#include <cerrno>

#include <unistd.h>

namespace quillon::sim {

namespace {
constexpr std::size_t kChunk = 4096;
}

void OutputQueue::Append(const Bytes& bytes)
{
    if (bytes.empty())
        return;
    if (!segments_.empty() && segments_.back().kind == Segment::Data)
        segments_.back().bytes.insert(segments_.back().bytes.end(), bytes.begin(), bytes.end());
    else
        segments_.push_back(Segment{Segment::Data, bytes, {}, 0});
}

void OutputQueue::AppendPause(Millis pause)
{
    segments_.push_back(Segment{Segment::Pause, {}, pause, 0});
}

void OutputQueue::AppendNoise(std::uint64_t count)
{
    if (count > 0)
        segments_.push_back(Segment{Segment::Noise, {}, {}, count});
}

void OutputQueue::Clear()
{
    segments_.clear();
    wake_.reset();
    pace_.Restart();
    pauseEnd_.reset();
}

Bytes OutputQueue::Peek(std::size_t max)
{
    Segment& front = segments_.front();
    if (front.kind == Segment::Data)
        return Bytes(front.bytes.begin(),
                     front.bytes.begin() + static_cast<std::ptrdiff_t>(std::min(max, front.bytes.size())));
    // Noise is made up into the segment's own buffer once, so that a partial
    // write hands the same bytes again next time.
    if (front.bytes.empty()) {
        const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(front.noise, kChunk));
        for (std::size_t i = 0; i < count; ++i) {
            noiseState_ ^= noiseState_ << 13;
            noiseState_ ^= noiseState_ >> 17;
            noiseState_ ^= noiseState_ << 5;
            front.bytes.push_back(static_cast<std::uint8_t>(noiseState_ >> 11));
        }
    }
    return Bytes(front.bytes.begin(),
                 front.bytes.begin() + static_cast<std::ptrdiff_t>(std::min(max, front.bytes.size())));
}

void OutputQueue::Consume(std::size_t count)
{
    Segment& front = segments_.front();
    front.bytes.erase(front.bytes.begin(), front.bytes.begin() + static_cast<std::ptrdiff_t>(count));
    if (front.kind == Segment::Noise)
        front.noise -= count;
    if (front.kind == Segment::Data ? front.bytes.empty() : front.noise == 0)
        segments_.pop_front();
}

OutputQueue::PumpResult OutputQueue::Pump(int fd, SimTime now)
{
    wake_.reset();
    while (!segments_.empty()) {
        if (segments_.front().kind == Segment::Pause) {
            if (!pauseEnd_)
                pauseEnd_ = now + segments_.front().pause;
            if (now < *pauseEnd_) {
                wake_ = pauseEnd_;
                return PumpResult::Waiting;
            }
            pauseEnd_.reset();
            pace_.Restart();
            segments_.pop_front();
            continue;
        }
        const std::size_t allowed = pace_.Allowance(now, kChunk);
        if (allowed == 0) {
            wake_ = pace_.NextByteAt();
            return PumpResult::Waiting;
        }
        const Bytes chunk = Peek(allowed);
        const ssize_t written = ::write(fd, chunk.data(), chunk.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno == EAGAIN ? PumpResult::Blocked : PumpResult::Failed;
        }
        pace_.Moved(static_cast<std::size_t>(written));
        Consume(static_cast<std::size_t>(written));
        if (static_cast<std::size_t>(written) < chunk.size())
            return PumpResult::Blocked;
    }
    pace_.Restart();
    return PumpResult::Idle;
}

Bytes OutputQueue::TakeAll()
{
    Bytes all;
    while (!segments_.empty()) {
        if (segments_.front().kind == Segment::Pause) {
            segments_.pop_front();
            continue;
        }
        const Bytes chunk = Peek(kChunk);
        all.insert(all.end(), chunk.begin(), chunk.end());
        Consume(chunk.size());
    }
    Clear();
    return all;
}

}  // namespace quillon::sim
