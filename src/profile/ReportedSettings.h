#pragma once
#include "catalogue/CatalogueRecords.h"
#include "catalogue/CatalogueTree.h"
#include "device/DeviceValues.h"
#include "profile/Profile.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// What a device reported in a read-back, seen against the catalogue: the
// options the tree marks as current, and the last frame (hex text) of each
// setting key (upper-case hex), which holds all of a value the tree shows
// only in part.
struct DeviceReport {
    const std::vector<TreeNodeInfo>& nodes;
    const CatalogueTree& tree;
    const std::map<std::string, std::string>& frames;
};

// The device's settings as a profile, in catalogue order: every option the
// tree marks as current, with the device's value for options that take one.
struct ReportedProfile {
    std::vector<ProfileSetting> settings;
    // Options marked current whose value no dialog input gives back.
    std::vector<std::string> leftOut;
};
ReportedProfile ProfileOfDevice(const DeviceReport& report);

// A setting of a profile that the device does not hold as the profile says.
struct SettingDifference {
    std::string code;
    std::string setting;   // the setting's name
    std::string device;    // what the device reports for the setting
    std::string profile;   // what the profile asks for
    bool reported = true;  // false: the device did not report the setting (device is kNotReported)
};
inline constexpr const char* kNotReported = "(not reported)";

// The profile's settings the device does not hold, in the profile's order.
// An option without a value must be the one the tree marks as current; for
// an option with a value the device must report exactly the bytes the
// profile's value would send.
std::vector<SettingDifference> DifferencesFromDevice(const std::vector<ProfileSetting>& profile,
                                                     const DeviceReport& report);

}  // namespace quillon
