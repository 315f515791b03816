#include "device/FrameBuilder.h"

#include "base/HexText.h"
#include "base/Utf.h"
#include "device/FrameWriter.h"

#include <algorithm>
#include <array>

namespace quillon {

namespace {

constexpr std::string_view kWriteClass = "21";
constexpr std::string_view kReadClass = "23";
constexpr std::string_view kInfoClass = "43";
constexpr int kLineStep = 17;

// Options that stand for their setting in the read-back: the output order
// of multi-code reading, read under the setting key alone.
constexpr std::array<std::string_view, 5> kReadByKeyOptions = {"31860000", "31870000", "31880000", "31890000",
                                                               "318A0000"};

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

void WriteHex(IFrameWriter& writer, std::string_view text)
{
    const std::vector<std::uint8_t> bytes = HexToBytes(text);
    writer.Write(bytes.data(), bytes.size());
}

// Value bytes: text as its characters cut to 8 bits, anything else from hex;
// positions the value does not fill stay 0.
std::vector<std::uint8_t> ValueBytes(const ValueTriple& value, std::size_t length)
{
    std::vector<std::uint8_t> bytes(length, 0);
    if (value.valueKind == 1) {
        const std::u16string units = Utf8ToUtf16(value.valueText);
        for (std::size_t i = 0; i < length && i < units.size(); ++i)
            bytes[i] = static_cast<std::uint8_t>(units[i] & 0xFF);
    } else {
        const std::vector<std::uint8_t> hex = HexToBytes(value.valueText);
        std::copy_n(hex.begin(), std::min(length, hex.size()), bytes.begin());
    }
    return bytes;
}

}  // namespace

FrameBuilder::FrameBuilder(const CatalogueLists& lists, std::vector<RsComStr>& monitor, IFrameWriter& writer)
    : lists_(lists),
      monitor_(monitor),
      writer_(writer)
{
}

std::optional<std::vector<std::uint8_t>> FrameBuilder::SettingFrame(const TreeNodeInfo& record,
                                                                    const ValueTriple& value)
{
    std::string text = record.cmdType;
    const std::size_t length = value.valueLength > 0 ? static_cast<std::size_t>(value.valueLength) : 0;
    if (length == 0) {
        text += record.code;
    } else {
        text += std::string_view(record.code).substr(0, 4);
        if (value.valueKind == 1 || value.valueKind == 3)
            text += Hex16(static_cast<unsigned>(length));
    }
    if (length > kMaxSettingFrame || text.size() / 2 + length > kMaxSettingFrame)
        return std::nullopt;
    std::vector<std::uint8_t> frame = HexToBytes(text);
    const std::vector<std::uint8_t> valueBytes = ValueBytes(value, length);
    frame.insert(frame.end(), valueBytes.begin(), valueBytes.end());
    return frame;
}

FrameBuilder::SettingResult FrameBuilder::SendSettingFrame(int index, const ValueTriple& value)
{
    if (index < 0 || static_cast<std::size_t>(index) >= lists_.treeNodes.size())
        return SettingResult::NoRecord;
    const auto frame = SettingFrame(lists_.treeNodes[static_cast<std::size_t>(index)], value);
    if (!frame)
        return SettingResult::TooLong;
    writer_.Write(frame->data(), frame->size());
    Log(ToHex(*frame), RsComStr::kSent);
    return SettingResult::Sent;
}

void FrameBuilder::SendReadBackRequests()
{
    for (const TreeNodeInfo& record : lists_.treeNodes) {
        if (Trimmed(record.cmdType) != kWriteClass)
            continue;
        if (record.level == 2)
            WriteHex(writer_, std::string(kReadClass) + record.pidFid);
        else if (record.level == 3 && std::ranges::find(kReadByKeyOptions, record.code) != kReadByKeyOptions.end())
            WriteHex(writer_, std::string(kReadClass) + record.code.substr(0, 4));
    }
}

void FrameBuilder::SendConnectProbes()
{
    for (const CmdNodeInfo& command : lists_.connectReadCmds) {
        if (command.nodeIdFlag == 1)
            WriteHex(writer_, std::string(kReadClass) + command.code);
    }
}

void FrameBuilder::SendInfoRequests()
{
    for (const CmdNodeInfo& command : lists_.readCmds)
        WriteHex(writer_, std::string(kInfoClass) + command.code);
}

void FrameBuilder::SendResolutionRequest()
{
    WriteHex(writer_, "4302C3");
}

void FrameBuilder::SendImageRequest(int width, int height)
{
    const bool enabled =
        std::ranges::any_of(lists_.transPicCmds, [](const CmdNodeInfo& c) { return c.nodeIdFlag == 1; });
    if (enabled)
        WriteHex(writer_, "60" + Hex16(static_cast<unsigned>(width)) + Hex16(static_cast<unsigned>(height)) + "0000");
}

void FrameBuilder::SendHexText(std::string_view text)
{
    WriteHex(writer_, text);
}

void FrameBuilder::LogReply(std::string_view hexText)
{
    Log(std::string(hexText), RsComStr::kReturned);
}

void FrameBuilder::Log(std::string hexText, RsComStr::Direction direction)
{
    RsComStr line;
    line.lineY = kLineStep * static_cast<std::int32_t>(monitor_.size() + 1);
    line.hexText = std::move(hexText);
    line.direction = direction;
    monitor_.push_back(std::move(line));
}

}  // namespace quillon
