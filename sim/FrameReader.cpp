#include "sim/FrameReader.h"

#include <numeric>

namespace quillon::sim {

namespace {
constexpr std::uint8_t kHighestHexType = 0x05;
}  // namespace

bool FrameReader::IsHexRecord(const Bytes& record)
{
    if (record.size() < 5 || record.size() != std::size_t{record[0]} + 5u || record[3] > kHighestHexType)
        return false;
    return static_cast<std::uint8_t>(std::accumulate(record.begin(), record.end(), 0u)) == 0;
}

std::optional<std::size_t> FrameReader::FrontFrameSize(Kind& kind) const
{
    const std::uint8_t frameClass = pending_.front();
    switch (frameClass) {
    case kReadRequest: kind = Kind::Read; return 3;
    case kInfoRequest: kind = Kind::Info; return 3;
    case kImageRequest: kind = Kind::Image; return kImageRequestSize;
    default: break;
    }
    if (frameClass == kLoaderCommand && (pending_.size() < 2 || pending_[1] == kLoaderTag)) {
        kind = Kind::LoaderCommand;
        return pending_.size() < 2 ? 0 : 3;
    }
    if (settings_.IsWriteClass(frameClass)) {
        kind = Kind::Write;
        if (pending_.size() < 3)
            return 0;
        switch (FormOfKey(KeyAt(pending_, 1))) {
        case LengthForm::None: return 3;
        case LengthForm::OneByte: return 4;
        case LengthForm::TwoBytes: return 5;
        case LengthForm::Counted:
            if (pending_.size() < 5)
                return 0;
            if (const std::size_t size = 5u + KeyAt(pending_, 3); size <= kMaxWriteFrame)
                return size;
            return std::nullopt;
        }
    }
    kind = Kind::HexRecord;
    return std::size_t{frameClass} + 5u;
}

std::optional<FrameReader::Frame> FrameReader::Next()
{
    while (!pending_.empty()) {
        Kind kind{};
        const auto size = FrontFrameSize(kind);
        if (!size) {
            pending_.erase(pending_.begin());
            continue;
        }
        if (*size == 0 || pending_.size() < *size)
            return std::nullopt;
        Bytes frame(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(*size));
        if (kind == Kind::HexRecord && !IsHexRecord(frame)) {
            pending_.erase(pending_.begin());
            continue;
        }
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(*size));
        return Frame{kind, std::move(frame)};
    }
    return std::nullopt;
}

bool FrameReader::SkipByte()
{
    if (pending_.empty())
        return false;
    pending_.erase(pending_.begin());
    return true;
}

Bytes FrameReader::TakePending()
{
    Bytes rest;
    rest.swap(pending_);
    return rest;
}

}  // namespace quillon::sim
