#pragma once
#include <string>

namespace quillon {

inline constexpr const char* kDefaultConfigFile = "./config/config.ini";
// The catalogue installed with the programs, and its English translation.
inline constexpr const char* kBundledCatalogue = "all.xml";
inline constexpr const char* kBundledEnglishCatalogue = "all.en.xml";

// The catalogue file name that the configuration file names in section
// "Common", key "bspxml": "all.xml" when the file is missing or unreadable,
// "null" when the key is absent (so the load fails and the operator is told).
std::string ReadCatalogueName(const std::string& configPath = kDefaultConfigFile);

// "./config/" followed by the name.  An empty name (a "bspxml=" with nothing
// after it) names no file: the path is then the folder itself, which no load
// accepts, so the operator is told the catalogue is wrong instead of getting
// all.xml without a word.
std::string CataloguePath(const std::string& catalogueFile);

}  // namespace quillon
