#include "device/SettingWriteProcessor.h"

#include "device/FrameLength.h"

#include <optional>
#include <string>

namespace quillon {

namespace {

std::optional<LinkReport> LinkReportOf(std::string_view frame)
{
    if (frame.starts_with("22424001"))
        return LinkReport::Hid;
    if (frame.starts_with("22424003"))
        return LinkReport::HidPos;
    if (frame.starts_with("224141"))
        return LinkReport::BaudChanged;
    return std::nullopt;
}

}  // namespace

void SettingWriteProcessor::Feed(const uint8_t* bytes, size_t count)
{
    pending_.Append(bytes, count);
    while (pending_.Size() >= 6) {
        if (!pending_.StartsWith("22") && !pending_.StartsWith("33")) {
            pending_.Clear();
            return;
        }
        const auto extent = FrameAtFront(pending_.Text());
        if (!extent)
            return;
        const std::string frame(pending_.Text().substr(0, extent->digits));
        pending_.Consume(extent->digits);
        if (!HandleFrame(frame, extent->kind)) {
            pending_.Clear();
            return;
        }
    }
}

bool SettingWriteProcessor::HandleFrame(const std::string& frame, int kind)
{
    outcome_.ReplyReceived(frame);
    if (const auto report = LinkReportOf(frame)) {
        outcome_.LinkChanged(*report);
        return false;
    }
    if (kind == kKindOneByte && !frame.ends_with("00")) {
        outcome_.WriteRefused();
        return false;
    }
    if (kind == kKindTwoBytes || kind == kKindCounted || frame.starts_with("337642")) {
        outcome_.WriteAccepted();
        return false;
    }
    outcome_.DeviceSetting(frame, kind);
    return true;
}

}  // namespace quillon
