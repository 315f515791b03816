#include "profile/ProfileWriter.h"

#include "document/QuillonDoc.h"
#include "profile/OutputFile.h"

#include <nlohmann/json.hpp>

namespace quillon {

std::optional<ProfileSetting> NamedSetting(const std::vector<TreeNodeInfo>& nodes, const std::string& code,
                                           std::optional<std::string> value)
{
    // Records come group, setting, options, in catalogue order, so an
    // option's names are those of the last group and setting before it.
    const TreeNodeInfo* group = nullptr;
    const TreeNodeInfo* setting = nullptr;
    for (const TreeNodeInfo& node : nodes) {
        if (node.level == 1)
            group = &node;
        else if (node.level == 2)
            setting = &node;
        else if (node.level == 3 && node.code == code)
            return ProfileSetting{group ? group->name : std::string(), setting ? setting->name : std::string(),
                                  node.name, code, std::move(value)};
    }
    return std::nullopt;
}

std::vector<ProfileSetting> DocumentProfile(const CQuillonDoc& doc)
{
    std::vector<ProfileSetting> settings;
    for (const CodeInfo& entry : doc.entries) {
        if (entry.optionCode.empty())
            continue;
        if (auto setting = NamedSetting(doc.catalogue.treeNodes, entry.optionCode, entry.optionValue))
            settings.push_back(std::move(*setting));
    }
    return settings;
}

std::string ProfileText(const std::vector<ProfileSetting>& settings)
{
    nlohmann::ordered_json profile;
    profile["format"] = kProfileFormat;
    profile["version"] = kProfileVersion;
    profile["settings"] = nlohmann::ordered_json::array();
    for (const ProfileSetting& setting : settings) {
        nlohmann::ordered_json item;
        item["code"] = setting.code;
        if (setting.value)
            item["value"] = *setting.value;
        item["group"] = setting.group;
        item["setting"] = setting.setting;
        item["option"] = setting.option;
        profile["settings"].push_back(std::move(item));
    }
    return profile.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

std::string WriteProfile(const std::string& path, const std::vector<ProfileSetting>& settings)
{
    return WriteOutputFile(path, ProfileText(settings));
}

}  // namespace quillon
