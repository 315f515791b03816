#include "profile/ProfileCommands.h"
#include "profile/BundledCatalogue.h"
#include "profile/OptionEntries.h"
#include "profile/OutputFile.h"
#include "profile/RecentFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {
namespace {

using Strings = std::vector<std::string>;
using Choice = IPrompt::Choice;

std::string Read(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

Strings FolderNames(const std::filesystem::path& folder)
{
    Strings names;
    for (const auto& item : std::filesystem::directory_iterator(folder))
        names.push_back(item.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string Profile(const std::string& settings)
{
    return "{\n  \"format\": \"quillon-profile\",\n  \"version\": 1,\n  \"settings\": [\n" + settings + "\n  ]\n}\n";
}

// The command strings of the document's entries, in order.
Strings Commands(const CQuillonDoc& doc)
{
    Strings commands;
    for (const CodeInfo& entry : doc.entries)
        commands.push_back(entry.codeText);
    return commands;
}

TEST(OutputFileTest, WritesAndReplacesKeepingTheModeAndFollowingLinks)
{
    const test::TempDir dir;
    const auto file = dir.Path() / "p.json";
    ASSERT_EQ(WriteOutputFile(file.string(), "first"), "");
    EXPECT_EQ(Read(file), "first");
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(std::filesystem::status(file).permissions(),
              std::filesystem::perms(0666 & ~mask));  // an ordinary file, not a private temporary

    ::chmod(file.c_str(), 0640);
    const auto link = dir.Path() / "link.json";
    std::filesystem::create_symlink(file, link);
    ASSERT_EQ(WriteOutputFile(link.string(), "second"), "");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(Read(file), "second");
    EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(FolderNames(dir.Path()), (Strings{"link.json", "p.json"}));
}

// The write fails where the disk would: the old content stays whole and no
// temporary is left behind.
TEST(OutputFileTest, AFailedWriteLeavesTheOldFileAndNoLeftovers)
{
    const test::TempDir dir;
    const auto file = dir.Path() / "p.json";
    ASSERT_EQ(WriteOutputFile(file.string(), "old content"), "");

    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string failure = WriteOutputFile(file.string(), std::string(4096, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(failure, "cannot write: File too large");
    EXPECT_EQ(Read(file), "old content");
    EXPECT_EQ(FolderNames(dir.Path()), (Strings{"p.json"}));

    const std::pair<std::filesystem::path, std::string> refused[] = {
        {dir.Path() / "missing" / "p.json", "cannot create a file in the folder: No such file or directory"},
        {dir.Path(), "is a folder"},  // a folder is not replaced by a file
    };
    for (const auto& [path, reason] : refused) {
        SCOPED_TRACE(path);
        EXPECT_EQ(WriteOutputFile(path.string(), "x").rfind(reason, 0), 0u);
    }
    EXPECT_EQ(FolderNames(dir.Path()), (Strings{"p.json"}));
    // Character devices are written where they stand, never replaced.
    EXPECT_EQ(WriteOutputFile("/dev/null", "x"), "");
    EXPECT_EQ(WriteOutputFile("/dev/full", "x"), "cannot write: No space left on device");
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
}

// Only an ordinary user meets a folder it may not write in (root writes
// anyway): scripts/test-unprivileged runs this as nobody.
TEST(OutputFileTest, AReadOnlyFolderKeepsTheOldFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes in any folder";
    const test::TempDir dir;
    const auto file = dir.Path() / "p.json";
    ASSERT_EQ(WriteOutputFile(file.string(), "old content"), "");
    ::chmod(dir.Path().c_str(), 0555);
    EXPECT_EQ(WriteOutputFile(file.string(), "new"), "cannot create a file in the folder: Permission denied");
    ::chmod(dir.Path().c_str(), 0755);
    EXPECT_EQ(Read(file), "old content");
    EXPECT_EQ(FolderNames(dir.Path()), (Strings{"p.json"}));
}

TEST(ProfileNameTest, JsonIsAddedOnlyToANameWithoutExtension)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/home/a/scanner", "/home/a/scanner.json"},
        {"/home/a/scanner.json", "/home/a/scanner.json"},
        {"/home/a/scanner.txt", "/home/a/scanner.txt"},
        {"/home/a.b/scanner", "/home/a.b/scanner.json"},  // a dot in the folder is no extension
        {"/home/a/.hidden", "/home/a/.hidden.json"},
        {"设置 一", "设置 一.json"},
    };
    for (const auto& [typed, written] : cases)
        EXPECT_EQ(WithProfileExtension(typed), written) << typed;
}

// The save dialog asked about replacing "a", not "a.json": that question is
// asked here, once, and only then.
TEST(ProfileNameTest, ReplacingTheFileTheExtensionLeadsToIsAsked)
{
    const test::TempDir dir;
    const std::string existing = dir.Write("a.json", "{}");
    const std::string typed = (dir.Path() / "a").string();
    struct Case {
        const char* name;
        std::string typed;
        std::deque<bool> answers;
        std::optional<std::string> path;
        std::size_t questions;
    };
    const Case cases[] = {
        {"replaced", typed, {true}, existing, 1},
        {"declined", typed, {false}, std::nullopt, 1},
        {"the dialog asked already", existing, {}, existing, 0},
        {"a new file", typed + "b", {}, typed + "b.json", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::RecordingPrompt prompt;
        prompt.answers = c.answers;
        EXPECT_EQ(ProfileSavePath(c.typed, prompt), c.path);
        ASSERT_EQ(prompt.shown.size(), c.questions);
        if (c.questions > 0) {
            EXPECT_EQ(prompt.shown[0].text, std::string(kProfileExistsQuestion) + "\n" + existing);
            EXPECT_EQ(prompt.shown[0].kind, test::RecordingPrompt::Shown::Warning);
        }
    }
}

TEST(RecentFilesTest, MostRecentFirstEachOnceAtMostTheLimit)
{
    struct Case {
        const char* name;
        Strings stored;
        Strings used;
        Strings forgotten;
        Strings expected;
    };
    const Case cases[] = {
        {"used files go to the front", {}, {"a", "b", "c"}, {}, {"c", "b", "a"}},
        {"a file used again moves up", {"a", "b", "c"}, {"c"}, {}, {"c", "a", "b"}},
        {"the oldest falls off", {"a", "b", "c"}, {"d"}, {}, {"d", "a", "b"}},
        {"forgotten files leave", {"a", "b", "c"}, {}, {"b", "x"}, {"a", "c"}},
        {"a store edited by hand is cleaned", {"a", "", "b", "a", "c", "d"}, {}, {}, {"a", "b", "c"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecentFiles recent(c.stored, 3);
        for (const std::string& path : c.used)
            recent.Use(path);
        for (const std::string& path : c.forgotten)
            recent.Forget(path);
        EXPECT_EQ(recent.Paths(), c.expected);
        // What goes back to the store comes out the same.
        EXPECT_EQ(RecentFiles(recent.Paths(), 3).Paths(), c.expected);
    }
    EXPECT_EQ(RecentFiles({"1", "2", "3", "4", "5", "6"}).Paths().size(), RecentFiles::kDefaultLimit);
}

class ProfileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(catalogue.status, 0);
        doc().SetPrompt(&prompt);
    }
    CQuillonDoc& doc() { return catalogue.doc; }
    std::string Write(const std::string& name, const std::string& settings)
    {
        return dir.Write(name, Profile(settings));
    }
    // Entries added as a double-click adds them.
    void Add(const std::string& code, const std::optional<std::string>& value = std::nullopt)
    {
        ASSERT_EQ(OptionEntries(doc(), catalogue.tree).Add(code, value), "");
    }
    OpenOutcome Open(const std::string& path) { return OpenProfileFile(doc(), catalogue.tree, path, prompt); }

    test::BundledCatalogue catalogue;
    test::RecordingPrompt prompt;
    test::TempDir dir;
};

TEST_F(ProfileCommandsTest, NothingToSaveIsSaidAndTheAddButtonsEntriesStayOut)
{
    EXPECT_TRUE(SettingsToSave(doc(), prompt).empty());
    doc().AddEntry("ABC123", "自定义");
    EXPECT_TRUE(SettingsToSave(doc(), prompt).empty());
    EXPECT_EQ(prompt.Texts(), (Strings{kNothingToSaveText, kNothingToSaveText}));

    Add("414100");
    const std::vector<ProfileSetting> settings = SettingsToSave(doc(), prompt);
    ASSERT_EQ(settings.size(), 1u);
    EXPECT_EQ(prompt.shown.size(), 2u);
    EXPECT_EQ(ProfileSavedStatus("/p/a.json", doc(), settings.size()), "已保存配置：/p/a.json（1 个自定义条目未保存）");
    doc().entries.erase(doc().entries.begin());
    EXPECT_EQ(ProfileSavedStatus("/p/a.json", doc(), settings.size()), "已保存配置：/p/a.json");
}

TEST_F(ProfileCommandsTest, AFailedSaveIsReportedWithItsReason)
{
    Add("414100");
    const std::string path = (dir.Path() / "no-folder" / "p.json").string();
    EXPECT_FALSE(SaveProfileFile(path, SettingsToSave(doc(), prompt), prompt));
    EXPECT_EQ(prompt.Texts(), (Strings{std::string(kProfileSaveFailedText) + "\n" + path +
                                       ": cannot create a file in the folder: No such file or directory"}));
    EXPECT_FALSE(std::filesystem::exists(path));
}

// Opening into a document that has entries asks once; each answer has its
// own result, and every one leaves the document whole.
TEST_F(ProfileCommandsTest, ReplaceAddOrCancelAskedOnce)
{
    const std::string path = Write("p.json", "    {\"code\": \"61820000\", \"value\": \"3000\"},\n"
                                             "    {\"code\": \"414100\"}");
    CQuillonDoc reference;
    reference.catalogue = doc().catalogue;
    OptionEntries referenceEntries(reference, catalogue.tree);
    ASSERT_EQ(referenceEntries.Add("61820000", "3000"), "");
    ASSERT_EQ(referenceEntries.Add("414100", std::nullopt), "");
    const Strings fromFile = Commands(reference);

    const std::string question = std::string(kOpenModeQuestion) + " [" + kOpenModeReplace + "|" + kOpenModeAppend + "]";
    struct Case {
        const char* name;
        Choice answer;
        OpenOutcome outcome;
        bool replaced;
        bool appended;
    };
    const Case cases[] = {
        {"replace", Choice::First, OpenOutcome::Opened, true, false},
        {"add to the end", Choice::Second, OpenOutcome::Opened, false, true},
        {"cancel", Choice::Cancel, OpenOutcome::Cancelled, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        doc().ClearConfigurationContent();
        prompt.shown.clear();
        Add("414100");  // also in the file: no duplicate question when adding
        doc().ConvertDocument(true);
        doc().displayMode = CQuillonDoc::kShowConversion;
        const Strings before = Commands(doc());
        prompt.choices = {c.answer};
        EXPECT_EQ(Open(path), c.outcome);
        EXPECT_EQ(prompt.Texts(), Strings{question});
        Strings expected = c.replaced ? fromFile : before;
        if (c.appended)
            expected.insert(expected.end(), fromFile.begin(), fromFile.end());
        EXPECT_EQ(Commands(doc()), expected);
        // The entries are laid out one below the other as always.
        for (std::size_t i = 1; i < doc().entries.size(); ++i)
            EXPECT_GT(doc().entries[i].captionY, doc().entries[i - 1].captionY);
        EXPECT_EQ(doc().displayMode == CQuillonDoc::kShowList, c.outcome == OpenOutcome::Opened);
        EXPECT_EQ(doc().convCodes.empty(), c.outcome == OpenOutcome::Opened);
    }

    // An empty document is filled without a question.
    doc().ClearConfigurationContent();
    prompt.shown.clear();
    EXPECT_EQ(Open(path), OpenOutcome::Opened);
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(Commands(doc()), fromFile);
    EXPECT_EQ(doc().entries[0].optionValue, std::optional<std::string>("3000"));
}

TEST_F(ProfileCommandsTest, ARefusedProfileLeavesTheDocumentAsItWas)
{
    struct Case {
        const char* name;
        std::string text;
        std::string message;  // after the path
    };
    const Case cases[] = {
        {"unknown code", Profile("    {\"code\": \"414100\"},\n    {\"code\": \"ZZ9900\"}"),
         ":6: no option with code ZZ9900 in the catalogue"},
        {"value the dialog refuses",
         Profile("    {\"code\": \"414100\"},\n    {\"code\": \"61820000\", \"value\": \"70000\"}"),
         ":6: option 61820000 refuses the value \"70000\": 触发超时超过最大限制！"},
        {"not JSON", "{\n  \"format\": \"quillon-profile\",\n",
         ":3: not JSON: syntax error while parsing object key - "
         "unexpected end of input; expected string literal"},
        {"no settings", Profile(""), ""},
    };
    Add("414100");
    const Strings before = Commands(doc());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompt.shown.clear();
        prompt.choices = {Choice::First};
        const std::string path = dir.Write("bad.json", c.text);
        EXPECT_EQ(Open(path), OpenOutcome::Refused);
        const std::string expected = c.message.empty() ? std::string(kEmptyProfileText)
                                                       : std::string(kProfileRefusedText) + "\n" + path + c.message;
        EXPECT_EQ(prompt.Texts(), Strings{expected});
        EXPECT_EQ(Commands(doc()), before);
        EXPECT_EQ(prompt.choices.size(), 1u);  // not asked
    }
}

TEST_F(ProfileCommandsTest, ARecentFileThatIsGoneLeavesTheList)
{
    const std::string kept = Write("kept.json", "    {\"code\": \"414100\"}");
    const std::string gone = (dir.Path() / "gone.json").string();
    RecentFiles recent({gone, "/elsewhere/x.json", kept});

    EXPECT_EQ(OpenRecentProfile(doc(), catalogue.tree, gone, recent, prompt), OpenOutcome::Refused);
    EXPECT_EQ(prompt.Texts(), Strings{std::string(kRecentMissingText) + "\n" + gone});
    EXPECT_EQ(recent.Paths(), (Strings{"/elsewhere/x.json", kept}));

    EXPECT_EQ(OpenRecentProfile(doc(), catalogue.tree, kept, recent, prompt), OpenOutcome::Opened);
    EXPECT_EQ(recent.Paths(), (Strings{kept, "/elsewhere/x.json"}));
    EXPECT_EQ(doc().entries.size(), 1u);
}

}  // namespace
}  // namespace quillon
