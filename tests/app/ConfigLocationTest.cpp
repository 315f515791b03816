#include "app/ConfigLocation.h"
#include "base/Language.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace quillon {
namespace {

// Four real folders, each with or without its config.ini, and the lookup
// asked which one wins.
TEST(ConfigLocation, WorkingFolderThenUserThenInstalledThenWorkingFolderAgain)
{
    enum Where { Working, Xdg, HomeDefault, Installed };
    const struct {
        const char* label;
        std::vector<Where> present;
        const char* xdgConfigHome;  // "abs": the Xdg folder; otherwise used as given
        bool installed;             // whether the program has an installed folder
        Where expected;
    } cases[] = {
        {"the working folder wins over all", {Working, Xdg, HomeDefault, Installed}, "abs", true, Working},
        {"then $XDG_CONFIG_HOME", {Xdg, HomeDefault, Installed}, "abs", true, Xdg},
        {"$XDG_CONFIG_HOME set replaces ~/.config", {HomeDefault, Installed}, "abs", true, Installed},
        {"~/.config without $XDG_CONFIG_HOME", {HomeDefault, Installed}, "", true, HomeDefault},
        {"a relative $XDG_CONFIG_HOME is ignored", {HomeDefault, Installed}, "relative/dir", true, HomeDefault},
        {"then the installed catalogue", {Installed}, "abs", true, Installed},
        {"none: the working folder's, meaning all.xml", {}, "abs", true, Working},
        {"not installed, nothing else", {}, "", false, Working},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const test::TempDir dir;
        const std::map<Where, std::string> files = {
            {Working, "work/config/config.ini"},
            {Xdg, "xdg/quillon/config.ini"},
            {HomeDefault, "home/.config/quillon/config.ini"},
            {Installed, "usr/share/quillon/config/config.ini"},
        };
        for (const Where where : c.present)
            dir.Write(files.at(where), "[Common]\nbspxml=all.xml\n");
        ConfigPlaces places;
        places.workingFolder = (dir.Path() / "work").string();
        places.xdgConfigHome = std::string(c.xdgConfigHome) == "abs" ? (dir.Path() / "xdg").string() : c.xdgConfigHome;
        places.home = (dir.Path() / "home").string();
        if (c.installed)
            places.installedConfigDir = (dir.Path() / "usr/share/quillon/config").string();
        EXPECT_EQ(FirstExistingConfigFile(ConfigFileCandidates(places)), (dir.Path() / files.at(c.expected)).string());
    }
}

TEST(ConfigLocation, TheWorkingFolderCandidateIsTheOneThatAlwaysWasRead)
{
    ConfigPlaces places;  // working folder ".", nothing else known
    EXPECT_EQ(ConfigFileCandidates(places), std::vector<std::string>{"./config/config.ini"});
}

TEST(ConfigLocation, InstalledFolderIsFoundFromTheProgramsOwnPlace)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/usr/bin/quillon", "/usr/share/quillon/config"},
        {"/usr/local/bin/quillon-cli", "/usr/local/share/quillon/config"},
        {"/home/me/.local/bin/quillon-sim", "/home/me/.local/share/quillon/config"},
    };
    for (const auto& [program, folder] : cases)
        EXPECT_EQ(InstalledConfigDir(program), folder) << program;
}

TEST(ConfigLocation, TheCatalogueLiesBesideItsConfigurationFile)
{
    const struct {
        const char *config, *name, *catalogue;
    } cases[] = {
        {"./config/config.ini", "all.xml", "./config/all.xml"},
        {"./config/config.ini", "null", "./config/null"},
        {"/home/me/.config/quillon/config.ini", "mine.xml", "/home/me/.config/quillon/mine.xml"},
        {"/usr/share/quillon/config/config.ini", "sub/other.xml", "/usr/share/quillon/config/sub/other.xml"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CatalogueBeside(c.config, c.name), c.catalogue) << c.config << " " << c.name;
}

// The English interface takes the English catalogue only in place of the
// bundled one, and only when it is there.
TEST(ConfigLocation, TheEnglishInterfaceStartsWithTheEnglishCatalogueWhereTheBundledOneIsNamed)
{
    const struct {
        const char* named;
        bool englishThere;
        Language language;
        const char* loaded;
    } cases[] = {
        {"all.xml", true, Language::English, "all.en.xml"},    {"all.xml", true, Language::Chinese, "all.xml"},
        {"all.xml", false, Language::English, "all.xml"},      {"mine.xml", true, Language::English, "mine.xml"},
        {"all.en.xml", true, Language::Chinese, "all.en.xml"},
    };
    for (const auto& c : cases) {
        const test::TempDir folder;
        const std::string config = folder.Write("config.ini", std::string("[Common]\nbspxml=") + c.named + "\n");
        folder.Write("all.xml", "<CODEBAR_APP/>");
        if (c.englishThere)
            folder.Write("all.en.xml", "<CODEBAR_APP/>");
        SetInterfaceLanguage(c.language);
        EXPECT_EQ(NamedCatalogue(config), (folder.Path() / c.loaded).string()) << c.named << " " << c.englishThere;
    }
    SetInterfaceLanguage(Language::Chinese);
}

}  // namespace
}  // namespace quillon
