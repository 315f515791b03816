#pragma once
#include "catalogue/CatalogueRecords.h"
#include "profile/Profile.h"

#include <optional>
#include <string>
#include <vector>

namespace quillon {

class CQuillonDoc;

// A setting of the catalogue with the names people read: the option with this
// code, its setting and its group.  nullopt when the catalogue has no option
// with the code.
std::optional<ProfileSetting> NamedSetting(const std::vector<TreeNodeInfo>& nodes, const std::string& code,
                                           std::optional<std::string> value);

// The settings behind the document's entries, in order; entries of the ADD
// button name no option and are left out.
std::vector<ProfileSetting> DocumentProfile(const CQuillonDoc& doc);

// The profile's text: format and version first, then one object per setting
// with its keys always in the same order, so two profiles diff line by line.
std::string ProfileText(const std::vector<ProfileSetting>& settings);

// Writes the text in one step (a failed write leaves the file as it was);
// empty when written, otherwise why not.
std::string WriteProfile(const std::string& path, const std::vector<ProfileSetting>& settings);

}  // namespace quillon
