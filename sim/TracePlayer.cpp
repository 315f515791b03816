#include "sim/TracePlayer.h"

#include <algorithm>

namespace quillon::sim {

namespace {

// Requests have sizes of their own; setting writes, which need the
// catalogue's keys, are told apart by the line falling quiet instead.
const DeviceSettings kNoSettings;

std::string Hex(const Bytes& bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (const auto byte : bytes) {
        if (!text.empty())
            text += ' ';
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

bool StartsWith(const Bytes& bytes, const Bytes& prefix)
{
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

}  // namespace

std::vector<WireRecord> RecordsOfPort(const WireTrace& trace, const std::string& port)
{
    std::vector<WireRecord> records;
    std::copy_if(trace.records.begin(), trace.records.end(), std::back_inserter(records),
                 [&](const WireRecord& record) { return record.port == port; });
    return records;
}

TracePlayer::TracePlayer(std::vector<WireRecord> records, OutputQueue& out, bool paced, Log report)
    : records_(std::move(records)),
      out_(out),
      paced_(paced),
      report_(std::move(report))
{
}

void TracePlayer::Anchor(SimTime now)
{
    const std::int64_t from = records_[cursor_].micros;
    for (++cursor_; cursor_ < records_.size() && records_[cursor_].kind == WireEvent::Received; ++cursor_) {
        const auto delay = std::chrono::microseconds(std::max<std::int64_t>(0, records_[cursor_].micros - from));
        due_.push_back({paced_ ? now + delay : now, &records_[cursor_].bytes});
    }
}

void TracePlayer::PortOpened(SimTime now)
{
    open_ = true;
    // A trace started while the port was already open begins with the
    // traffic itself: it counts from this opening.
    if (cursor_ < records_.size() &&
        (records_[cursor_].kind == WireEvent::Opened || (cursor_ == 0 && records_[0].kind == WireEvent::Received)))
        Anchor(now);
}

void TracePlayer::PortClosed(SimTime)
{
    open_ = false;
    due_.clear();
    if (!pending_.empty())
        ReportUnexpected();
    if (cursor_ < records_.size() && records_[cursor_].kind == WireEvent::Sent) {
        ++differences_;
        report_("the tool closed the port; the trace has next: " + NextFrameText());
        while (cursor_ < records_.size() && records_[cursor_].kind != WireEvent::Closed)
            ++cursor_;
    }
    if (cursor_ < records_.size() && records_[cursor_].kind == WireEvent::Closed)
        ++cursor_;
}

void TracePlayer::Receive(std::span<const std::uint8_t> bytes, SimTime now)
{
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    lastInput_ = now;
    Match(now);
}

void TracePlayer::Match(SimTime now)
{
    while (!pending_.empty()) {
        const bool sentNext = cursor_ < records_.size() && records_[cursor_].kind == WireEvent::Sent;
        const Bytes* expected = sentNext ? &records_[cursor_].bytes : nullptr;
        if (expected && StartsWith(pending_, *expected)) {
            pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(expected->size()));
            Anchor(now);
            continue;
        }
        if (expected && StartsWith(*expected, pending_))
            return;  // the rest of the frame is still coming
        // Something else: a frame the device knows is reported alone, so
        // that the tool's next frames can still match; anything else once
        // the tool falls quiet (Tick).
        FrameReader frames(kNoSettings);
        frames.Feed(pending_);
        const auto frame = frames.Next();
        if (!frame || !StartsWith(pending_, frame->bytes))
            return;
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(frame->bytes.size()));
        Report(frame->bytes);
    }
}

void TracePlayer::Tick(SimTime now)
{
    while (!due_.empty() && due_.front().at <= now) {
        out_.Append(*due_.front().bytes);
        due_.pop_front();
    }
    if (!pending_.empty() && now - lastInput_ >= kFrameQuiet)
        ReportUnexpected();
}

std::optional<SimTime> TracePlayer::NextDeadline() const
{
    std::optional<SimTime> next;
    if (!due_.empty())
        next = due_.front().at;
    if (!pending_.empty())
        next = next ? std::min(*next, lastInput_ + kFrameQuiet) : lastInput_ + kFrameQuiet;
    return next;
}

void TracePlayer::ReportUnexpected()
{
    Report(pending_);
    pending_.clear();
}

void TracePlayer::Report(const Bytes& frame)
{
    ++differences_;
    report_("unexpected frame " + Hex(frame) + "; the trace has next: " + NextFrameText());
}

std::string TracePlayer::NextFrameText() const
{
    for (std::size_t i = cursor_; i < records_.size(); ++i)
        if (records_[i].kind == WireEvent::Sent)
            return Hex(records_[i].bytes);
    return "no more frames";
}

}  // namespace quillon::sim
