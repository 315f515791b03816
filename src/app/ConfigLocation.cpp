#include "app/ConfigLocation.h"

#include "app/ConfigFile.h"
#include "base/Language.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace quillon {

namespace fs = std::filesystem;

namespace {

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

std::vector<std::string> ConfigFileCandidates(const ConfigPlaces& places)
{
    std::vector<std::string> candidates{(fs::path(places.workingFolder) / "config" / "config.ini").string()};
    // The base directory specification says a relative $XDG_CONFIG_HOME is
    // invalid and to be ignored.
    if (fs::path(places.xdgConfigHome).is_absolute())
        candidates.push_back((fs::path(places.xdgConfigHome) / "quillon" / "config.ini").string());
    else if (!places.home.empty())
        candidates.push_back((fs::path(places.home) / ".config" / "quillon" / "config.ini").string());
    if (!places.installedConfigDir.empty())
        candidates.push_back((fs::path(places.installedConfigDir) / "config.ini").string());
    return candidates;
}

std::string FirstExistingConfigFile(const std::vector<std::string>& candidates)
{
    for (const std::string& candidate : candidates) {
        std::error_code error;
        if (fs::exists(candidate, error))
            return candidate;
    }
    return candidates.front();
}

std::string InstalledConfigDir(const std::string& executable)
{
    return (fs::path(executable).parent_path() / QUILLON_DATA_FROM_BINDIR / "quillon" / "config")
        .lexically_normal()
        .string();
}

std::string LocateConfigFile()
{
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    ConfigPlaces places;
    places.xdgConfigHome = Environment("XDG_CONFIG_HOME");
    places.home = Environment("HOME");
    if (!error)
        places.installedConfigDir = InstalledConfigDir(executable.string());
    return FirstExistingConfigFile(ConfigFileCandidates(places));
}

std::string CatalogueBeside(const std::string& configPath, const std::string& catalogueFile)
{
    // CataloguePath decides what a name means inside ./config/; the same
    // relative path is taken inside the configuration file's own folder.
    const fs::path inWorkingFolder = fs::path(CataloguePath(catalogueFile)).lexically_relative("./config");
    return (fs::path(configPath).parent_path() / inWorkingFolder).string();
}

std::string NamedCatalogue(const std::string& configPath)
{
    const std::string name = ReadCatalogueName(configPath);
    if (name == kBundledCatalogue && InterfaceLanguage() == Language::English) {
        const std::string english = CatalogueBeside(configPath, kBundledEnglishCatalogue);
        std::error_code error;
        if (fs::is_regular_file(english, error))
            return english;
    }
    return CatalogueBeside(configPath, name);
}

std::string LocateCatalogue()
{
    return NamedCatalogue(LocateConfigFile());
}

}  // namespace quillon
