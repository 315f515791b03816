#pragma once
#include "catalogue/CatalogueRecords.h"
#include "catalogue/SelectionTargets.h"
#include "profile/Profile.h"

#include <string>
#include <vector>

namespace quillon::cli {

// One setting frame to send: the option's record and its dialog's value.
struct SettingWrite {
    std::string code;
    int recordIndex;
    ValueTriple value;
};

// True for the settings of the line itself (its speed, USB or serial mode):
// the device answers their writes by changing the link rather than accepting.
bool ChangesLink(const std::string& code);
// True for the line's speed alone.
bool ChangesSpeed(const std::string& code);

// The writes for the settings, each value through its option's dialog.  The
// first one refused (a value its dialog refuses, a query rather than a
// setting) throws CLI::ValidationError naming its code, so nothing is sent
// for a wrong one.
std::vector<SettingWrite> PlanWrites(const std::vector<ProfileSetting>& settings,
                                     const std::vector<TreeNodeInfo>& nodes);

// CODE or CODE=VALUE as typed on the command line.
ProfileSetting SettingArgument(const std::string& item);

}  // namespace quillon::cli
