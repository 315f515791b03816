#include "cli/SettingWrites.h"

#include "catalogue/OptionAnswer.h"

#include <CLI/CLI.hpp>

namespace quillon::cli {

namespace {

constexpr const char* kQueryClass = "23";

}  // namespace

std::vector<SettingWrite> PlanWrites(const std::vector<ProfileSetting>& settings,
                                     const std::vector<TreeNodeInfo>& nodes)
{
    std::vector<SettingWrite> writes;
    for (const ProfileSetting& setting : settings) {
        const OptionAnswer answer = AnswerOption(nodes, setting.code, setting.value);
        if (answer.fault == OptionAnswer::Fault::UnknownCode)
            throw CLI::ValidationError(answer.reason);
        if (!answer)
            throw CLI::ValidationError(setting.code, answer.reason);
        // A query's frame asks the device instead of setting it: written, it
        // would wait for a setting's reply that never comes.
        if (answer.option->cmdType == kQueryClass)
            throw CLI::ValidationError(setting.code, "is a query (" + answer.option->name + "), not a setting");
        writes.push_back({setting.code, answer.recordIndex, answer.applied.value});
    }
    return writes;
}

bool ChangesSpeed(const std::string& code)
{
    return code.starts_with("4141");
}

bool ChangesLink(const std::string& code)
{
    return ChangesSpeed(code) || code.starts_with("4240");
}

ProfileSetting SettingArgument(const std::string& item)
{
    ProfileSetting setting;
    const auto equals = item.find('=');
    setting.code = item.substr(0, equals);
    if (equals != std::string::npos)
        setting.value = item.substr(equals + 1);
    return setting;
}

}  // namespace quillon::cli
