#include "device/DeviceValues.h"

#include "base/HexText.h"
#include "base/Utf.h"
#include "catalogue/OptionAnswer.h"
#include "device/FrameBuilder.h"
#include "dialogs/DialogInputs.h"
#include "dialogs/SymbologyNames.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace quillon {

namespace {

// Dialog inputs that may give the data back; each is checked by sending it
// through the dialog, so a wrong guess costs nothing.
std::vector<std::string> Candidates(SettingForm form, const Bytes& data)
{
    std::vector<std::string> candidates;
    if (form == SettingForm::OneByte || form == SettingForm::TwoBytes) {
        unsigned value = 0;
        for (const std::uint8_t byte : data)
            value = value << 8 | byte;
        candidates.push_back(std::to_string(value));
        char hex[8];
        std::snprintf(hex, sizeof hex, "%X", value);  // counts go out as decimal digits read as hex
        candidates.push_back(hex);
        if (value == 0)
            candidates.push_back("any");  // the output order's "any order", as its dialog names it
        for (const SymbologyName& name : SymbologyNames())
            if (static_cast<unsigned>(name.code) == value)
                candidates.push_back(name.name);
    } else if (form == SettingForm::Counted && data.size() >= 2) {
        const Bytes bytes(data.begin() + 2, data.end());
        // Text goes out as its characters cut to 8 bits; bytes a person
        // cannot read are clearer as hex.
        const std::u16string units(bytes.begin(), bytes.end());
        candidates.push_back(Utf16ToUtf8(units));
        candidates.push_back("hex:" + UpperHex(bytes));
        if (std::ranges::any_of(bytes, [](std::uint8_t b) { return b < 0x20 || b > 0x7E; }))
            std::swap(candidates[0], candidates[1]);
        DialogOutput block;
        block.text = UpperHex(bytes);
        candidates.push_back(DialogInputText(ParameterDialog::M1Block, block));
    }
    return candidates;
}

}  // namespace

SettingForm FormOf(const std::string& code)
{
    return static_cast<SettingForm>(CodeByte(code, 2) >> 6);
}

std::string UpperHex(const Bytes& bytes)
{
    std::string hex = ToHex(bytes);
    std::ranges::transform(hex, hex.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return hex;
}

Bytes KeptData(SettingForm form, Bytes frame)
{
    Bytes data(frame.begin() + std::min<std::ptrdiff_t>(3, static_cast<std::ptrdiff_t>(frame.size())), frame.end());
    if (form == SettingForm::OneByte || form == SettingForm::TwoBytes)
        data.resize(form == SettingForm::OneByte ? 1 : 2, 0);
    return data;
}

std::optional<Bytes> SentData(const TreeNodeInfo& option, const ValueTriple& value)
{
    const auto frame = FrameBuilder::SettingFrame(option, value);
    if (!frame)
        return std::nullopt;
    return KeptData(FormOf(option.code), *frame);
}

std::optional<std::string> DeviceValueInput(const std::vector<TreeNodeInfo>& nodes, const TreeNodeInfo& option,
                                            std::string_view frameText)
{
    const SettingForm form = FormOf(option.code);
    const Bytes data = KeptData(form, HexToBytes(frameText));
    for (const std::string& candidate : Candidates(form, data)) {
        const OptionAnswer answer = AnswerOption(nodes, option.code, candidate);
        if (answer && SentData(option, answer.applied.value) == data)
            return candidate;
    }
    return std::nullopt;
}

}  // namespace quillon
