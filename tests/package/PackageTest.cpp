#include "support/ProgramRun.h"
#include "support/TempDir.h"

#include <QSvgRenderer>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>

namespace quillon {
namespace {

namespace fs = std::filesystem;
using test::Quote;
using test::RunProgram;

// The real package, built once by cpack from this build's install rules and
// unpacked into a folder that every user may read, as dpkg would leave it.
class PackageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        work_ = new test::TempDir;
        fs::permissions(work_->Path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                           fs::perms::others_read | fs::perms::others_exec);
        const test::ProgramRun cpack =
            RunProgram("cpack -G DEB --config " + Quote(QUILLON_CPACK_CONFIG) + " -B " + Quote(work_->Path().string()));
        ASSERT_EQ(cpack.exitCode, 0) << cpack.out << cpack.err;
        for (const auto& entry : fs::directory_iterator(work_->Path()))
            if (entry.path().extension() == ".deb")
                deb_ = entry.path().string();
        ASSERT_FALSE(deb_.empty()) << cpack.out;
        ASSERT_EQ(RunProgram("dpkg-deb -x " + Quote(deb_) + " " + Quote(Root())).exitCode, 0);
    }
    static void TearDownTestSuite() { delete work_; }

    static std::string Root() { return (work_->Path() / "root").string(); }
    static std::string Installed(const std::string& path) { return Root() + path; }

    // Runs an unpacked program as "nobody" from a fresh home folder that has
    // no catalogue, the way the desktop menu starts it, without a display.
    static test::ProgramRun RunAsUser(const std::string& home, const std::string& commandLine)
    {
        return RunProgram("cd " + Quote(home) +
                          " && setpriv --reuid=nobody --regid=nogroup --clear-groups env -u DISPLAY -u "
                          "WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME=" +
                          Quote(home) + " XDG_CONFIG_HOME= " + commandLine);
    }

    static test::TempDir* work_;
    static std::string deb_;
};

test::TempDir* PackageTest::work_ = nullptr;
std::string PackageTest::deb_;

// A fresh folder that "nobody" owns.
struct UserHome {
    test::TempDir dir;
    UserHome() { RunProgram("chown -R nobody:nogroup " + Quote(dir.Path().string())); }
    std::string Path() const { return dir.Path().string(); }
    void Write(const std::string& relative, const std::string& text) const
    {
        dir.Write(relative, text);
        RunProgram("chown -R nobody:nogroup " + Quote(dir.Path().string()));
    }
};

TEST_F(PackageTest, HoldsExactlyTheProgramsCatalogueMenuEntryIconManualsGuideAndNotes)
{
    const test::ProgramRun listing = RunProgram("dpkg-deb -c " + Quote(deb_));
    ASSERT_EQ(listing.exitCode, 0) << listing.err;
    std::set<std::string> files, owners;
    std::map<std::string, std::string> modes;
    std::istringstream lines(listing.out);
    for (std::string mode, owner, size, date, time, path; lines >> mode >> owner >> size >> date >> time >> path;) {
        owners.insert(owner);
        if (mode[0] == 'd')
            continue;
        files.insert(path);
        modes[path] = mode;
    }
    const std::map<std::string, std::string> expected = {
        {"./usr/bin/quillon", "-rwxr-xr-x"},
        {"./usr/bin/quillon-cli", "-rwxr-xr-x"},
        {"./usr/bin/quillon-sim", "-rwxr-xr-x"},
        {"./usr/share/quillon/config/all.xml", "-rw-r--r--"},
        {"./usr/share/quillon/config/all.en.xml", "-rw-r--r--"},
        {"./usr/share/quillon/config/config.ini", "-rw-r--r--"},
        {"./usr/share/applications/quillon.desktop", "-rw-r--r--"},
        {"./usr/share/icons/hicolor/scalable/apps/quillon.svg", "-rw-r--r--"},
        {"./usr/share/man/man1/quillon.1.gz", "-rw-r--r--"},
        {"./usr/share/man/man1/quillon-cli.1.gz", "-rw-r--r--"},
        {"./usr/share/man/man1/quillon-sim.1.gz", "-rw-r--r--"},
        {"./usr/share/doc/quillon/copyright", "-rw-r--r--"},
        {"./usr/share/doc/quillon/changelog.gz", "-rw-r--r--"},
        {"./usr/share/doc/quillon/guide/index.html", "-rw-r--r--"},
        {"./usr/share/doc/quillon/guide/main-window.png", "-rw-r--r--"},
        {"./usr/share/doc/quillon/guide/en/index.html", "-rw-r--r--"},
        {"./usr/share/doc/quillon/guide/en/main-window.png", "-rw-r--r--"},
    };
    std::set<std::string> expectedFiles;
    for (const auto& [path, mode] : expected) {
        expectedFiles.insert(path);
        EXPECT_EQ(modes[path], mode) << path;
    }
    EXPECT_EQ(files, expectedFiles);
    EXPECT_EQ(owners, std::set<std::string>{"root/root"});
}

TEST_F(PackageTest, ControlFieldsNameTheLibrariesTheProgramsLink)
{
    const test::ProgramRun fields = RunProgram("dpkg-deb -f " + Quote(deb_) + " Package Version Depends Recommends");
    ASSERT_EQ(fields.exitCode, 0) << fields.err;
    EXPECT_NE(fields.out.find("Package: quillon\n"), std::string::npos) << fields.out;
    EXPECT_NE(fields.out.find("Version: " QUILLON_VERSION "\n"), std::string::npos) << fields.out;
    for (const char* library : {"libc6 (>=", "libstdc++6", "libqt6core6", "libqt6gui6", "libqt6widgets6",
                                "libqt6printsupport6", "libzint", "libinireader0", "libudev1"})
        EXPECT_NE(fields.out.find(library), std::string::npos) << library << "\n" << fields.out;
    // Without its translations Qt's own buttons and dialogs are English.
    EXPECT_NE(fields.out.find("qt6-translations-l10n"), std::string::npos) << fields.out;
    // The changelog shipped names the version shipped.
    const test::ProgramRun changelog =
        RunProgram("zcat " + Quote(Installed("/usr/share/doc/quillon/changelog.gz")) + " | head -n 1");
    EXPECT_EQ(changelog.out.substr(0, changelog.out.find(')') + 1), "quillon (" QUILLON_VERSION ")");
}

TEST_F(PackageTest, MenuEntryIsValidAndPointsAtTheProgramAndIcon)
{
    const std::string desktop = Installed("/usr/share/applications/quillon.desktop");
    const test::ProgramRun check = RunProgram("desktop-file-validate " + Quote(desktop));
    EXPECT_EQ(check.exitCode, 0) << check.out;
    EXPECT_EQ(check.out.find("error:"), std::string::npos) << check.out;
    EXPECT_EQ(check.out.find("warning:"), std::string::npos) << check.out;

    std::map<std::string, std::string> keys;
    std::istringstream lines(RunProgram("cat " + Quote(desktop)).out);
    for (std::string line; std::getline(lines, line);)
        if (const auto equals = line.find('='); equals != std::string::npos)
            keys[line.substr(0, equals)] = line.substr(equals + 1);
    EXPECT_EQ(keys["Name"], "Quillon");
    EXPECT_EQ(keys["Name[zh_CN]"], "Quillon 条码扫描器配置工具");
    EXPECT_EQ(keys["Categories"], "Development;Utility;");
    EXPECT_TRUE(fs::exists(Installed("/usr/bin/" + keys["Exec"]))) << keys["Exec"];
    const std::string icon = Installed("/usr/share/icons/hicolor/scalable/apps/" + keys["Icon"] + ".svg");
    const QSvgRenderer renderer(QString::fromStdString(icon));
    EXPECT_TRUE(renderer.isValid()) << icon;
    EXPECT_EQ(renderer.viewBox(), QRect(0, 0, 64, 64));
}

TEST_F(PackageTest, ManualPagesFormatWithoutWarnings)
{
    for (const std::string program : {"quillon", "quillon-cli", "quillon-sim"}) {
        SCOPED_TRACE(program);
        const test::ProgramRun page =
            RunProgram("MANWIDTH=80 man --warnings -l " + Quote(Installed("/usr/share/man/man1/" + program + ".1.gz")));
        EXPECT_EQ(page.exitCode, 0);
        EXPECT_EQ(page.err, "");
        EXPECT_NE(page.out.find("NAME"), std::string::npos) << page.out;
        // man justifies lines, so blanks are counted as one.
        std::string text;
        for (const char c : page.out)
            if (c != ' ' || text.empty() || text.back() != ' ')
                text += c;
        EXPECT_NE(text.find(program + " - "), std::string::npos) << page.out;
        EXPECT_NE(page.out.find("Quillon " QUILLON_VERSION), std::string::npos) << page.out;
        EXPECT_NE(page.out.find("--version"), std::string::npos) << page.out;
    }
}

TEST_F(PackageTest, ProgramsAnswerHelpAndVersionWithoutADisplay)
{
    const UserHome home;
    const struct {
        const char* program;
        const char* arguments;
        const char* expected;
    } cases[] = {
        {"quillon", "--version", "quillon " QUILLON_VERSION "\n"},
        {"quillon-cli", "--version", "quillon-cli " QUILLON_VERSION "\n"},
        {"quillon-sim", "--version", "quillon-sim " QUILLON_VERSION "\n"},
        {"quillon", "--help", "--catalogue <FILE>"},
        {"quillon-cli", "--help", "sheet"},
        {"quillon-sim", "--help", "--com N"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.program) + " " + c.arguments);
        const test::ProgramRun run =
            RunAsUser(home.Path(), Quote(Installed("/usr/bin/") + c.program) + " " + c.arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err, "");
        if (std::string(c.arguments) == "--version") {
            EXPECT_EQ(run.out, c.expected);
        } else
            EXPECT_NE(run.out.find(c.expected), std::string::npos) << run.out;
    }
}

// The programs carry Debian's hardening: lintian, which judges every
// package in the archive, finds nothing missing, and the dynamic sections
// say so themselves.
TEST_F(PackageTest, ProgramsAreBuiltWithDebiansHardening)
{
    const test::ProgramRun lintian = RunProgram("lintian --tag-display-limit 0 " + Quote(deb_));
    // 0: no errors, 1: errors found; anything else means it could not check.
    ASSERT_TRUE(lintian.exitCode == 0 || lintian.exitCode == 1) << lintian.out << lintian.err;
    for (const char* tag : {"hardening-no-fortify-functions", "hardening-no-bindnow", "hardening-no-relro"})
        EXPECT_EQ(lintian.out.find(tag), std::string::npos) << lintian.out;
    for (const std::string program : {"quillon", "quillon-cli", "quillon-sim"}) {
        SCOPED_TRACE(program);
        const std::string binary = Quote(Installed("/usr/bin/" + program));
        const test::ProgramRun dynamic = RunProgram("readelf --wide --dynamic --program-headers --dyn-syms " + binary);
        ASSERT_EQ(dynamic.exitCode, 0) << dynamic.err;
        EXPECT_NE(dynamic.out.find("GNU_RELRO"), std::string::npos);
        EXPECT_NE(dynamic.out.find("BIND_NOW"), std::string::npos);
        // A fortified call (__memcpy_chk, __read_chk...), not the stack protector's.
        bool fortified = false;
        std::istringstream lines(dynamic.out);
        for (std::string line; std::getline(lines, line);)
            fortified |= line.find("_chk@") != std::string::npos && line.find("__stack_chk_") == std::string::npos;
        EXPECT_TRUE(fortified);
    }
}

// The installed programs look in the working folder, the user's folder and
// then their own installed folder, and load the catalogue beside the first
// config.ini found; the unpacked package stands for the installed one.
TEST_F(PackageTest, InstalledCliFindsTheCatalogueFromAnyFolder)
{
    const std::string mine =
        "<CODEBAR_APP><CODEBAR_SET><TYPE_INFO><TYPE_NAME>MINE</TYPE_NAME><SUB_TYPE_INFO><TYPE_NAME></TYPE_NAME>"
        "<ITEM_INFO><ITEM_NAME>x</ITEM_NAME><PIDFID>4141</PIDFID><CMD_TYPE>21</CMD_TYPE><SUBITEM><SUBITEM_NAME>"
        "y</SUBITEM_NAME><SUBITEM_CODE>03</SUBITEM_CODE></SUBITEM></ITEM_INFO></SUB_TYPE_INFO></TYPE_INFO>"
        "</CODEBAR_SET></CODEBAR_APP>";
    const struct {
        const char* label;
        const char* configFile;     // written below the home folder, if any
        const char* xdgConfigHome;  // below the home folder; empty: unset
        const char* firstGroup;     // the first tree item of the catalogue loaded
        const char* language = "zh";
    } cases[] = {
        {"home without a catalogue: the installed one", nullptr, "", "通讯设置"},
        {"in English: the installed English one", nullptr, "", "Communication", "en"},
        {"~/.config/quillon", ".config/quillon/config.ini", "", "MINE"},
        {"in English, one's own catalogue as it is", ".config/quillon/config.ini", "", "MINE", "en"},
        {"$XDG_CONFIG_HOME/quillon", "xdg/quillon/config.ini", "xdg", "MINE"},
        {"$XDG_CONFIG_HOME replaces ~/.config", ".config/quillon/config.ini", "xdg", "通讯设置"},
        {"the working folder's ./config first", "config/config.ini", "xdg", "MINE"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const UserHome home;
        if (c.configFile != nullptr) {
            home.Write(c.configFile, "[Common]\nbspxml=mine.xml\n");
            home.Write(fs::path(c.configFile).replace_filename("mine.xml").string(), mine);
        }
        const std::string xdg = *c.xdgConfigHome ? "XDG_CONFIG_HOME=" + Quote(home.Path() + "/" + c.xdgConfigHome) : "";
        const test::ProgramRun run = RunAsUser(home.Path(), xdg + " " + Quote(Installed("/usr/bin/quillon-cli")) +
                                                                " catalogue --lang " + c.language);
        EXPECT_EQ(run.err, "");
        EXPECT_NE(run.out.find("\"text\": \"" + std::string(c.firstGroup) + "\""), std::string::npos)
            << run.out.substr(0, 300);
    }
}

// The simulator, too, plays the installed catalogue when started from home:
// without one it would end at once with "no settings in catalogue".
TEST_F(PackageTest, InstalledSimulatorFindsTheCatalogueFromHome)
{
    const UserHome home;
    const test::ProgramRun run =
        RunAsUser(home.Path(), "QUILLON_PORT_LINKS=" + Quote(home.Path() + "/ports") + " sh -c 'echo quit | " +
                                   Installed("/usr/bin/quillon-sim") + " --com 250'");
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_EQ(run.err.find("no settings"), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("COM250"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace quillon
