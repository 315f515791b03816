#include "sim/FirmwareLoader.h"

#include "sim/FrameReader.h"

#include <algorithm>
#include <fstream>

namespace quillon::sim {

namespace {
enum : std::uint8_t { kData = 0, kEndOfFile = 1, kSegmentBase = 2, kLinearBase = 4 };
constexpr char kRecordRefused = '9';
constexpr char kLoadComplete = '8';
constexpr char kImageRefused = '5';
}  // namespace

const Bytes FirmwareLoader::kEraseRecord{0x02, 0x00, 0x00, 0x04, 0x00, 0x0F, 0xEB};

void FirmwareLoader::Begin(Expect expect)
{
    Finish();
    phase_ = expect == Expect::Hex ? Phase::Hex : Phase::Undecided;
}

void FirmwareLoader::Finish()
{
    phase_ = Phase::Off;
    pending_.clear();
    records_.clear();
    firstRecord_ = true;
    base_ = 0;
}

Bytes FirmwareLoader::Receive(std::span<const std::uint8_t> bytes)
{
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    // More than one record before any answer: nobody is waiting for one.
    if (phase_ == Phase::Undecided && pending_.size() > FrontRecordSize())
        phase_ = Phase::Raw;
    return phase_ == Phase::Hex ? TakeRecords() : Bytes{};
}

Bytes FirmwareLoader::TakeRecords()
{
    Bytes answers;
    while (phase_ == Phase::Hex && pending_.size() >= FrontRecordSize()) {
        const auto size = static_cast<std::ptrdiff_t>(FrontRecordSize());
        const Bytes record(pending_.begin(), pending_.begin() + size);
        pending_.erase(pending_.begin(), pending_.begin() + size);
        const char answer = FrameReader::IsHexRecord(record) ? ApplyRecord(record) : kRecordRefused;
        answers.push_back(static_cast<std::uint8_t>(answer));
        if (answer == kRecordRefused) {
            hooks_.log("firmware: HEX record refused (bad checksum or type)");
            Finish();
        }
    }
    return answers;
}

char FirmwareLoader::ApplyRecord(const Bytes& record)
{
    // Nothing tells the erase request from a file's own first record, so
    // the loader erases and still takes the record's base address: were it
    // the request, the file's own records set the base they need.
    if (std::exchange(firstRecord_, false) && record == kEraseRecord) {
        hooks_.eraseConfiguration();
        hooks_.log("firmware: configuration erased");
    }
    const std::uint8_t type = record[3];
    const std::uint32_t offset = KeyAt(record, 1);
    const Bytes data(record.begin() + 4, record.begin() + 4 + record[0]);
    switch (type) {
    case kData: records_.push_back({base_ + offset, data}); return faults_.RecordAnswer();
    case kEndOfFile:
        SaveMemoryImage();
        Finish();
        return kLoadComplete;
    case kSegmentBase:
        if (data.size() == 2)
            base_ = std::uint32_t{KeyAt(data, 0)} << 4;
        return '2';
    case kLinearBase:
        if (data.size() == 2)
            base_ = std::uint32_t{KeyAt(data, 0)} << 16;
        return '4';
    default:  // start addresses mean nothing to a simulated device
        return static_cast<char>('0' + type);
    }
}

void FirmwareLoader::SaveMemoryImage()
{
    std::uint64_t low = records_.empty() ? 0 : UINT64_MAX;
    std::uint64_t high = 0;
    for (const auto& r : records_) {
        low = std::min<std::uint64_t>(low, r.address);
        high = std::max<std::uint64_t>(high, std::uint64_t{r.address} + r.data.size());
    }
    // Records far apart (say flash and option bytes) would make a huge
    // image of gap filler; the load is still accepted.
    if (high - low > kMaxMemoryImage) {
        hooks_.log("firmware: HEX records span " + std::to_string(high - low) + " bytes, too sparse to save");
        return;
    }
    Bytes image(static_cast<std::size_t>(high - low), 0xFF);
    for (const auto& r : records_)
        std::copy(r.data.begin(), r.data.end(), image.begin() + static_cast<std::ptrdiff_t>(r.address - low));
    Save(image, "HEX");
}

Bytes FirmwareLoader::OnQuiet(Millis quiet)
{
    if (phase_ == Phase::Off)
        return {};
    if (quiet >= kGiveUpQuiet) {
        hooks_.log("firmware: transfer abandoned, nothing arrived for a while");
        Finish();
        return {};
    }
    if (quiet >= kHexDecisionQuiet && phase_ == Phase::Undecided && pending_.size() == FrontRecordSize()) {
        phase_ = Phase::Hex;
        return TakeRecords();
    }
    const bool cutRecord = (phase_ == Phase::Hex || phase_ == Phase::Undecided) &&
                           pending_.size() + 1 == FrontRecordSize() && pending_[3] <= 0x05;
    if (quiet >= kRecordQuiet && cutRecord) {
        // A last line sent without its checksum byte (a sender that cut the
        // line end and a byte with it) is no record.
        hooks_.log("firmware: HEX record without its checksum refused");
        Finish();
        return Bytes{static_cast<std::uint8_t>(kRecordRefused)};
    }
    if (quiet >= kImageEndQuiet && !pending_.empty() && phase_ != Phase::Hex)
        return EndImage();
    return {};
}

Millis FirmwareLoader::NextQuietStep(Millis alreadyQuiet) const
{
    if (phase_ == Phase::Off)
        return Millis::max();
    for (const Millis step : {kHexDecisionQuiet, kRecordQuiet, kImageEndQuiet, kGiveUpQuiet})
        if (step > alreadyQuiet)
            return step;
    return Millis::max();
}

Bytes FirmwareLoader::EndImage()
{
    const bool refuse = faults_.Spend(Fault::FirmwareFail);
    Save(pending_, refuse ? "raw (refused)" : "raw");
    Finish();
    return Bytes{static_cast<std::uint8_t>(refuse ? kImageRefused : kLoadComplete)};
}

void FirmwareLoader::Save(const Bytes& image, const char* kind)
{
    std::string note =
        "firmware: " + std::string(kind) + " image of " + std::to_string(image.size()) + " bytes received";
    if (!outputPath_.empty()) {
        std::ofstream file(outputPath_, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
        note += file ? ", saved to " + outputPath_ : ", could not be saved to " + outputPath_;
    }
    hooks_.log(note);
}

}  // namespace quillon::sim
