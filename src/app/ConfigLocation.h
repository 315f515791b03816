#pragma once
#include <string>
#include <vector>

namespace quillon {

// Where an installed program finds its configuration file.  The working
// folder's ./config/config.ini keeps first place, so a program started from
// its own folder behaves as it always has; a program started from the desktop
// menu (working folder = home) falls back to the user's file and then to the
// one installed beside it.
struct ConfigPlaces {
    std::string workingFolder = ".";
    std::string xdgConfigHome;       // $XDG_CONFIG_HOME; ignored unless absolute
    std::string home;                // $HOME, for the default ~/.config
    std::string installedConfigDir;  // empty when the program is not installed
};

// The configuration files to try, most local first.
std::vector<std::string> ConfigFileCandidates(const ConfigPlaces& places);

// The first candidate that exists.  When none does, the working folder's:
// its absence then means "all.xml" beside it, as without any of this.
std::string FirstExistingConfigFile(const std::vector<std::string>& candidates);

// The installed catalogue folder of a program at `executable`: the data
// folder at the same place relative to the program as at build time, so a
// package or a `cmake --install --prefix` elsewhere still finds it.
std::string InstalledConfigDir(const std::string& executable);

// This process's configuration file: its environment and where it runs from.
std::string LocateConfigFile();

// The catalogue that the configuration file at configPath names, in that
// file's folder; the name follows the rules of CataloguePath.
std::string CatalogueBeside(const std::string& configPath, const std::string& catalogueFile);

// The catalogue the configuration file at configPath names, in its folder.
// In the English interface the bundled all.xml gives way to the English
// all.en.xml beside it, when there is one; any other name is taken as named.
std::string NamedCatalogue(const std::string& configPath);

// The catalogue this process starts with: the configuration file found by
// LocateConfigFile and the name inside it.
std::string LocateCatalogue();

}  // namespace quillon
