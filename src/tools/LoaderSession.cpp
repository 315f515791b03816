#include "tools/LoaderSession.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "tools/RawImage.h"

namespace quillon {

namespace {

constexpr std::array<std::uint8_t, 3> kHandshake{0x32, 0x77, 0x03};
constexpr std::array<std::uint8_t, 5> kHandshakeAnswer{0x33, 0x77, 0x03, 0x00, 0x00};
constexpr std::array<std::uint8_t, 3> kImageErase{0x32, 0x77, 0x02};
constexpr std::size_t kImageEraseAnswer = 5;
// An extended-linear-address record for 000F, checksum EB included.
constexpr std::array<std::uint8_t, 7> kHexErase{0x02, 0x00, 0x00, 0x04, 0x00, 0x0F, 0xEB};
constexpr std::size_t kHexEraseAnswer = 1;
constexpr std::string_view kRecordTaken = "1234567A";
constexpr std::uint8_t kLoadComplete = '8';
constexpr std::uint8_t kImageFailed = '5';

// What a line that did not do its part means for the transfer.
DownloadOutcome Interrupted(LineStatus status)
{
    switch (status) {
    case LineStatus::Lost: return {DownloadResult::PortLost};
    case LineStatus::Stopped: return {DownloadResult::Cancelled};
    default: return {DownloadResult::NoReply};
    }
}

class Session {
public:
    Session(ILoaderLine& line, IDownloadObserver& observer) : line_(line), observer_(observer) {}

    // Sends `message` and reads `answer.size()` bytes back.
    std::optional<DownloadOutcome> Exchange(std::span<const std::uint8_t> message, std::span<std::uint8_t> answer)
    {
        LineStatus status = line_.Write(message);
        if (status == LineStatus::Done)
            status = line_.Read(answer);
        if (status != LineStatus::Done)
            return Interrupted(status);
        return std::nullopt;
    }

    // The erase's answer is not examined: one that comes short or not at
    // all ends only its wait, and the transfer goes on.
    std::optional<DownloadOutcome> Erase(std::span<const std::uint8_t> message, std::size_t answerSize)
    {
        std::array<std::uint8_t, kImageEraseAnswer> answer{};
        auto failure = Exchange(message, std::span(answer).first(answerSize));
        if (failure && failure->result == DownloadResult::NoReply)
            return std::nullopt;
        return failure;
    }

    std::optional<DownloadOutcome> Handshake()
    {
        std::array<std::uint8_t, kHandshakeAnswer.size()> answer{};
        auto failure = Exchange(kHandshake, answer);
        if (failure && failure->result == DownloadResult::NoReply)
            return DownloadOutcome{DownloadResult::HandshakeFailed};
        if (!failure && answer != kHandshakeAnswer)
            return DownloadOutcome{DownloadResult::HandshakeFailed};
        return failure;
    }

    DownloadOutcome SendRecords(const HexRecords& records)
    {
        const std::size_t count = records.Count();
        for (std::size_t k = 0; k < count; ++k) {
            if (line_.Cancelled())
                return {DownloadResult::Cancelled};
            std::uint8_t reply = 0;
            if (const auto failure = Exchange(records.Record(k), std::span(&reply, 1)))
                return *failure;
            if (reply == kLoadComplete) {
                Report(100);
                return {DownloadResult::HexLoaded};
            }
            if (kRecordTaken.find(static_cast<char>(reply)) == std::string_view::npos)
                return {DownloadResult::ReplyRefused, {}, reply};
            Report(ProgressPercent(k + 1, count));
        }
        return {DownloadResult::HexUnfinished};
    }

    DownloadOutcome SendImage(const FirmwareFile& file, int settleMs)
    {
        const auto payload = file.Payload();
        const std::size_t blocks = ImageBlockCount(payload.size());
        const std::size_t divisor = ImageProgressDivisor(file.bytes.size(), blocks);
        for (std::size_t k = 0; k < blocks; ++k) {
            if (line_.Cancelled())
                return {DownloadResult::Cancelled};
            const auto block =
                payload.subspan(k * kImageBlockSize, std::min(kImageBlockSize, payload.size() - k * kImageBlockSize));
            if (const LineStatus status = line_.Write(block); status != LineStatus::Done)
                return Interrupted(status);
            Report(ProgressPercent(k + 1, divisor));
        }
        std::uint8_t reply = 0;
        if (const LineStatus status = line_.Read(std::span(&reply, 1)); status != LineStatus::Done)
            return Interrupted(status);
        if (reply == kImageFailed)
            return {DownloadResult::ImageRefused};
        if (reply != kLoadComplete)
            return {DownloadResult::ReplyRefused, {}, reply};
        // The loader is given a moment after its answer before the port is
        // let go.
        line_.Pause(settleMs);
        Report(100);
        return {DownloadResult::ImageUpgraded};
    }

private:
    void Report(int percent)
    {
        if (percent == lastPercent_)
            return;
        lastPercent_ = percent;
        observer_.OnProgress(percent);
    }

    ILoaderLine& line_;
    IDownloadObserver& observer_;
    int lastPercent_ = 0;
};

}  // namespace

DownloadOutcome RunLoader(const FirmwareFile& file, const LoaderOptions& options, ILoaderLine& line,
                          IDownloadObserver& observer)
{
    Session session(line, observer);
    const bool hex = file.kind == FirmwareKind::Hex;
    if (!hex && options.erase) {
        if (auto failure = session.Erase(kImageErase, kImageEraseAnswer))
            return *failure;
    }
    if (!hex || !options.repair) {
        if (auto failure = session.Handshake())
            return *failure;
    }
    if (hex && options.erase) {
        if (auto failure = session.Erase(kHexErase, kHexEraseAnswer))
            return *failure;
    }
    return hex ? session.SendRecords(file.records) : session.SendImage(file, options.settleMs);
}

}  // namespace quillon
