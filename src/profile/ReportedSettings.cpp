#include "profile/ReportedSettings.h"

#include "base/HexText.h"
#include "catalogue/OptionAnswer.h"
#include "catalogue/SelectionDispatch.h"
#include "device/DeviceValues.h"
#include "profile/ProfileWriter.h"

#include <algorithm>
#include <cctype>

namespace quillon {

namespace {

std::string KeyOf(std::string_view code)
{
    std::string key(code.substr(0, 4));
    std::ranges::transform(key, key.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return key;
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
        const SettingForm form = FormOf(option.code);
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
