#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace quillon {

// The first two keys of every profile: what the file is and which layout.
inline constexpr const char* kProfileFormat = "quillon-profile";
inline constexpr int kProfileVersion = 1;
// Larger files are refused before they are read: a profile holds at most a
// catalogue's worth of settings, a few hundred kilobytes.
inline constexpr std::uintmax_t kProfileSizeLimit = 50u * 1024u * 1024u;

// One setting a person chose: the option code and, for options with a
// parameter dialog, the dialog's input (the CODE=VALUE form of quillon-cli
// sheet).  The names are for people reading the file; loading ignores them.
struct ProfileSetting {
    std::string group;
    std::string setting;
    std::string option;
    std::string code;
    std::optional<std::string> value;
    int line = 0;  // where the setting starts in the file read; 0 when not read

    bool operator==(const ProfileSetting& other) const { return code == other.code && value == other.value; }
};

}  // namespace quillon
