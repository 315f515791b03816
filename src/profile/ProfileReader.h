#pragma once
#include "catalogue/CatalogueRecords.h"
#include "profile/Profile.h"

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// A profile read and checked, or why not.
struct ProfileRead {
    std::vector<ProfileSetting> settings;
    std::string error;  // "FILE:LINE: reason"; empty when every setting passed
};

// The path that names standard input, and the name messages give it.
inline constexpr const char* kStandardInputName = "-";
inline constexpr const char* kStandardInputText = "(standard input)";

// Reads a profile and checks all of it before anything is used: size, UTF-8,
// JSON, format and version, the shape of each setting, its option code in the
// catalogue, its value through the rules of the option's parameter dialog
// (the same answers quillon-cli sheet gives), duplicates.  The first fault
// refuses the whole file, so a caller never applies half of one.  The path
// "-" reads standard input.
ProfileRead ReadProfile(const std::string& path, const std::vector<TreeNodeInfo>& nodes,
                        std::uintmax_t sizeLimit = kProfileSizeLimit);

// The same from a stream ("-": standard input), named kStandardInputText.
ProfileRead ReadProfileFrom(std::istream& in, const std::vector<TreeNodeInfo>& nodes,
                            std::uintmax_t sizeLimit = kProfileSizeLimit);

// The same checks on text already in memory; path only names it in messages.
ProfileRead ParseProfile(const std::string& path, std::string_view text, const std::vector<TreeNodeInfo>& nodes);

// The offset of the first byte that is not well-formed UTF-8 (overlong forms
// and surrogates included), or npos.
std::size_t InvalidUtf8Offset(std::string_view text);

}  // namespace quillon
