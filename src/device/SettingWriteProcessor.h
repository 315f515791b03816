#pragma once
#include "device/HexAccumulator.h"
#include "device/ReplyProcessor.h"

#include <string_view>

namespace quillon {

// Reports the device makes instead of accepting a write; each ends the link.
enum class LinkReport { Hid, HidPos, BaudChanged };

// What the setting-write replies lead to.
class ISettingWriteOutcome {
public:
    virtual ~ISettingWriteOutcome() = default;
    virtual void ReplyReceived(std::string_view frameText) = 0;  // the monitor logs it
    virtual void WriteAccepted() = 0;                            // read the settings back
    virtual void WriteRefused() = 0;
    virtual void LinkChanged(LinkReport report) = 0;
    virtual void DeviceSetting(std::string_view frameText, int kind) = 0;
};

// Replies to settings written online (route 1), classes 0x22 and 0x33.
// Each reply is taken as the frame its own length form says, so a short
// reply never eats into what follows it.  The link reports (HID, HID-POS,
// baud rate) are recognised whatever their data byte, since that byte is the
// mode the device changed to; other one-byte replies are accepted only with
// data 00.  Replies of another class empty the accumulator.
class SettingWriteProcessor : public IReplyProcessor {
public:
    explicit SettingWriteProcessor(ISettingWriteOutcome& outcome) : outcome_(outcome) {}

    void Feed(const uint8_t* bytes, size_t count) override;
    void Reset() override { pending_.Clear(); }

private:
    // False when the rest of the input is to be dropped.
    bool HandleFrame(const std::string& frame, int kind);

    ISettingWriteOutcome& outcome_;
    HexAccumulator pending_;
};

}  // namespace quillon
