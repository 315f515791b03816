#include "profile/ReportedSettings.h"

#include "catalogue/SelectionDispatch.h"
#include "catalogue/Utf.h"
#include "device/FrameBuilder.h"
#include "device/HexText.h"
#include "dialogs/DialogInputs.h"
#include "dialogs/SymbologyNames.h"
#include "profile/OptionAnswer.h"
#include "profile/ProfileWriter.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace quillon {

namespace {

using Bytes = std::vector<std::uint8_t>;

// The length form of a setting key: the top two bits of its second byte.
enum class Form { Bare, OneByte, TwoBytes, Counted };

Form FormOf(const std::string& code)
{
    return static_cast<Form>(CodeByte(code, 2) >> 6);
}

std::string KeyOf(std::string_view code)
{
    std::string key(code.substr(0, 4));
    std::ranges::transform(key, key.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return key;
}

std::string UpperHex(const Bytes& bytes)
{
    std::string hex = ToHex(bytes);
    std::ranges::transform(hex, hex.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return hex;
}

// What follows the class byte and the key, as the device keeps it: a fixed
// form holds exactly its one or two bytes (a shorter value is padded with
// zeros, a longer one cut), a counted one its count and bytes.
Bytes KeptData(Form form, Bytes frame)
{
    Bytes data(frame.begin() + std::min<std::ptrdiff_t>(3, static_cast<std::ptrdiff_t>(frame.size())), frame.end());
    if (form == Form::OneByte || form == Form::TwoBytes)
        data.resize(form == Form::OneByte ? 1 : 2, 0);
    return data;
}

// The data of the frame the option would send with this value.
std::optional<Bytes> SentData(const TreeNodeInfo& option, const ValueTriple& value)
{
    const auto frame = FrameBuilder::SettingFrame(option, value);
    if (!frame)
        return std::nullopt;
    return KeptData(FormOf(option.code), *frame);
}

// Dialog inputs that may give the data back; each is checked by sending it
// through the dialog, so a wrong guess costs nothing.
std::vector<std::string> Candidates(Form form, const Bytes& data)
{
    std::vector<std::string> candidates;
    if (form == Form::OneByte || form == Form::TwoBytes) {
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
    } else if (form == Form::Counted && data.size() >= 2) {
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

bool MarkedCurrent(const CatalogueTree& tree, const TreeNodeInfo& option)
{
    return tree.IsValid(option.treeItem) && tree.Item(option.treeItem).image == kImageOptionCurrent;
}

// The names of the options the tree marks as current beside this one.
std::string CurrentOptionsOfSetting(const DeviceReport& report, const TreeNodeInfo& option)
{
    std::string names;
    if (!report.tree.IsValid(option.treeItem))
        return kNotReported;
    const TreeItemId parent = report.tree.Item(option.treeItem).parent;
    if (!report.tree.IsValid(parent))
        return kNotReported;
    for (const TreeItemId child : report.tree.Item(parent).children) {
        const int index = report.tree.Item(child).data;
        if (report.tree.Item(child).image != kImageOptionCurrent || index < 0 ||
            static_cast<std::size_t>(index) >= report.nodes.size())
            continue;
        names += (names.empty() ? "" : ", ") + report.nodes[static_cast<std::size_t>(index)].name;
    }
    return names.empty() ? kNotReported : names;
}

const std::string* FrameOf(const DeviceReport& report, const TreeNodeInfo& option)
{
    const auto found = report.frames.find(KeyOf(option.code));
    return found == report.frames.end() ? nullptr : &found->second;
}

}  // namespace

std::optional<std::string> DeviceValueInput(const std::vector<TreeNodeInfo>& nodes, const TreeNodeInfo& option,
                                            std::string_view frameText)
{
    const Form form = FormOf(option.code);
    const Bytes data = KeptData(form, HexToBytes(frameText));
    for (const std::string& candidate : Candidates(form, data)) {
        const OptionAnswer answer = AnswerOption(nodes, option.code, candidate);
        if (answer && SentData(option, answer.applied.value) == data)
            return candidate;
    }
    return std::nullopt;
}

ReportedProfile ProfileOfDevice(const DeviceReport& report)
{
    ReportedProfile profile;
    for (const TreeNodeInfo& option : report.nodes) {
        // One option a setting key: a preset and the option that takes a
        // value may both show the device's value, and a profile holds one.
        if (option.level != 3 || !MarkedCurrent(report.tree, option) ||
            std::ranges::any_of(profile.settings,
                                [&](const ProfileSetting& s) { return KeyOf(s.code) == KeyOf(option.code); }))
            continue;
        std::optional<std::string> value;
        if (ChooseParameterDialog(option.code).dialog != ParameterDialog::None) {
            const std::string* frame = FrameOf(report, option);
            value = frame ? DeviceValueInput(report.nodes, option, *frame) : std::nullopt;
            if (!value) {
                profile.leftOut.push_back(option.code);
                continue;
            }
        }
        if (auto setting = NamedSetting(report.nodes, option.code, std::move(value)))
            profile.settings.push_back(std::move(*setting));
    }
    return profile;
}

std::vector<SettingDifference> DifferencesFromDevice(const std::vector<ProfileSetting>& profile,
                                                     const DeviceReport& report)
{
    std::vector<SettingDifference> differences;
    for (const ProfileSetting& setting : profile) {
        const OptionAnswer answer = AnswerOption(report.nodes, setting.code, setting.value);
        if (answer.option == nullptr)
            continue;  // the profile was checked against this catalogue when it was read
        const TreeNodeInfo& option = *answer.option;
        const auto named = NamedSetting(report.nodes, option.code, std::nullopt);
        const std::string settingName = named ? named->setting : std::string();
        if (ChooseParameterDialog(option.code).dialog == ParameterDialog::None) {
            if (!MarkedCurrent(report.tree, option)) {
                const std::string current = CurrentOptionsOfSetting(report, option);
                differences.push_back({option.code, settingName, current, option.name, current != kNotReported});
            }
            continue;
        }
        // A value is checked by its bytes: the tree shows only part of some.
        const std::string* frame = FrameOf(report, option);
        const Form form = FormOf(option.code);
        const std::optional<Bytes> wanted = answer ? SentData(option, answer.applied.value) : std::nullopt;
        if (frame && wanted && KeptData(form, HexToBytes(*frame)) == *wanted)
            continue;
        std::string device = kNotReported;
        if (frame)
            device = DeviceValueInput(report.nodes, option, *frame)
                         .value_or("bytes " + UpperHex(KeptData(form, HexToBytes(*frame))));
        differences.push_back({option.code, settingName, device, setting.value.value_or(""), frame != nullptr});
    }
    return differences;
}

}  // namespace quillon
