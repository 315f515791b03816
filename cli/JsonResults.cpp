#include "cli/JsonResults.h"

#include <cstdio>

namespace quillon::cli {

Json DifferencesJson(const std::vector<SettingDifference>& differences)
{
    Json list = Json::array();
    for (const SettingDifference& d : differences)
        list.push_back({{"code", d.code},
                        {"setting", d.setting},
                        {"device", d.reported ? Json(d.device) : Json(nullptr)},
                        {"profile", d.profile}});
    return list;
}

void PrintJson(const Json& document)
{
    std::printf("%s\n", document.dump(2, ' ', false, Json::error_handler_t::replace).c_str());
    std::fflush(stdout);
}

}  // namespace quillon::cli
