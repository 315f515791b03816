#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "app/QtPrompt.h"
#include "base/SavePathStore.h"
#include "catalogue/FormTree.h"
#include "dialogs/DialogInputs.h"
#include "document/QuillonDoc.h"
#include "profile/ProfileCommands.h"
#include "support/FakeDialogs.h"
#include "support/PageImages.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"
#include "support/WindowDriving.h"

#include <QAbstractPrintDialog>
#include <QAction>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <sstream>

namespace quillon {
namespace {

using Strings = std::vector<std::string>;
using Choice = IPrompt::Choice;
using test::OperatorKey;

std::string ReadFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Whether the condition comes true while the window handles its events (a
// real X server delivers input and paints in its own time).
template <typename Condition> bool Eventually(Condition condition)
{
    return QTest::qWaitFor(condition, 5000);
}

Strings Sorted(Strings texts)
{
    std::sort(texts.begin(), texts.end());
    return texts;
}

// The real main window over the bundled catalogue, its settings store in a
// given file; the parameter dialogs, the message boxes and the file dialogs
// are answered by the test.
class ProfileWindow {
public:
    explicit ProfileWindow(const std::filesystem::path& storeFile) : store(QString::fromStdString(storeFile.string()))
    {
        MainFrameParts parts;
        parts.prompt = &prompt;
        parts.dialogs = &dialogs;
        parts.savePaths = &store;
        parts.chooseSaveFile = [this](const QString& start, const QString& filter) { return Answer(start, filter); };
        parts.chooseOpenFile = [this](const QString& start, const QString& filter) { return Answer(start, filter); };
        window = std::make_unique<CMainFrame>(doc, parts);
        window->resize(1200, 800);
        window->InitialUpdate();
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // Double-clicks the option whose code starts so, its dialog (if any)
    // answered with output, and waits for the entry.
    void Choose(const std::string& codePrefix, std::optional<DialogOutput> output = std::nullopt)
    {
        const auto& nodes = doc.catalogue.treeNodes;
        const auto option = std::find_if(nodes.begin(), nodes.end(), [&](const TreeNodeInfo& node) {
            return node.level == 3 && node.code.rfind(codePrefix, 0) == 0;
        });
        ASSERT_NE(option, nodes.end()) << codePrefix;
        if (output)
            dialogs.answers.push_back(*output);
        const std::size_t before = doc.entries.size();
        ASSERT_TRUE(
            test::OperatorDoubleClick(window->Form()->TreeWidget(), window->Form()->WidgetItem(option->treeItem)));
        ASSERT_TRUE(Eventually([&] { return doc.entries.size() == before + 1; })) << codePrefix;
    }

    // The command strings of the document's entries.
    Strings Commands() const
    {
        Strings commands;
        for (const CodeInfo& entry : doc.entries)
            commands.push_back(entry.codeText);
        return commands;
    }

    // What a scanner reads from each entry's place in the pane on the screen.
    Strings OnScreen() const
    {
        QApplication::processEvents();
        const QImage pane = test::DocumentPaneOnScreen(*window);
        Strings read;
        for (const CodeInfo& entry : doc.entries) {
            const Strings symbols = test::SymbolsIn(pane, test::EntryBars(entry), ZXing::BarcodeFormat::Code128);
            read.insert(read.end(), symbols.begin(), symbols.end());
        }
        return read;
    }

    // Every Code 128 symbol of the document printed by the File menu's
    // print command into a PDF, read back from the pages.
    Strings Printed(const std::filesystem::path& pdf)
    {
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QAbstractPrintDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            QPrinter* printer = dialog->printer();
            QObject::connect(dialog, &QDialog::accepted, [printer, pdf] {
                printer->setOutputFormat(QPrinter::PdfFormat);
                printer->setOutputFileName(QString::fromStdString(pdf.string()));
            });
            dialog->accept();
        });
        window->Action(CommandId::Print)->trigger();
        Strings read;
        for (const QImage& page : test::Rasterise(pdf, 200)) {
            const Strings symbols =
                test::DecodeGrey(page.constBits(), page.width(), page.height(), static_cast<int>(page.bytesPerLine()),
                                 ZXing::BarcodeFormat::Code128);
            read.insert(read.end(), symbols.begin(), symbols.end());
        }
        return read;
    }

    QMenu* FileMenu() const { return window->menuBar()->actions().at(0)->menu(); }

    // The File menu's entries as the operator reads them ("-" a separator),
    // hidden ones left out.
    QStringList FileMenuTexts() const
    {
        QStringList texts;
        for (QAction* action : FileMenu()->actions())
            if (action->isVisible())
                texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return texts;
    }

    // Opens the File menu and picks recent profile `number` by its key, as an
    // operator does with the keyboard.
    void ChooseRecent(int number) const
    {
        const auto key = static_cast<Qt::Key>(Qt::Key_0 + number);
        if (test::OnRealDisplay()) {
            ASSERT_TRUE(OperatorKey(window.get(), Qt::Key_F, Qt::AltModifier, "alt+f"));
            ASSERT_TRUE(Eventually([&] { return FileMenu()->isVisible(); }));
            ASSERT_TRUE(test::XDoTool({"key", QString::number(number)}));
        } else {
            FileMenu()->popup(window->mapToGlobal(QPoint(0, 0)));
            ASSERT_TRUE(Eventually([&] { return FileMenu()->isVisible(); }));
            QTest::keyClick(FileMenu(), key);
        }
        ASSERT_TRUE(Eventually([&] { return !FileMenu()->isVisible(); }));
        QApplication::processEvents();
    }

    QString Status() const { return window->statusBar()->currentMessage(); }

    std::deque<QString> fileAnswers;  // what the file dialogs return, in turn
    QStringList fileStarts;           // where each file dialog started

    SavePathStore store;
    CQuillonDoc doc;
    test::RecordingPrompt prompt;
    test::FakeDialogs dialogs;
    std::unique_ptr<CMainFrame> window;

private:
    QString Answer(const QString& start, const QString& filter)
    {
        EXPECT_TRUE(filter.contains(QStringLiteral("*.json"))) << filter.toStdString();
        fileStarts << start;
        if (fileAnswers.empty())
            return {};
        const QString answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
};

DialogOutput Count(long number)
{
    return DialogOutput{"", "", false, number};
}

// What the M1 block dialog gives for what an operator typed into it.
DialogOutput M1Block(const std::string& typed)
{
    DialogInputs inputs;
    inputs.SetValue(typed);
    const std::optional<DialogOutput> output = inputs.Run(ParameterDialog::M1Block, {});
    EXPECT_TRUE(output) << inputs.Error();
    return output.value_or(DialogOutput{});
}

class ProfileFilesTest : public ::testing::Test {
protected:
    std::filesystem::path StoreFile() const { return dir.Path() / "savepath.conf"; }
    QString InDir(const char* name) const { return QString::fromStdString((dir.Path() / name).string()); }

    test::TempDir dir;
};

// Entries chosen in the tree, saved with Ctrl+S, the document cleared and the
// file opened with Ctrl+O: the pane and the printed sheet carry the same
// commands, and the file holds what was chosen in its fixed layout.
TEST_F(ProfileFilesTest, ASavedProfileOpensIntoTheSameSheet)
{
    ProfileWindow w(StoreFile());
    w.Choose("4141");
    w.Choose("3181", Count(5));
    w.Choose("45CE", M1Block("B:3:1:A1B2C3D4E5F6"));
    const Strings chosen = w.Commands();
    ASSERT_EQ(w.OnScreen(), chosen);

    w.fileAnswers = {InDir("scanner")};  // typed without an extension
    ASSERT_TRUE(OperatorKey(w.window.get(), Qt::Key_S, Qt::ControlModifier, "ctrl+s"));
    ASSERT_TRUE(Eventually([&] { return std::filesystem::exists(dir.Path() / "scanner.json"); }));
    EXPECT_EQ(w.fileStarts, QStringList{QDir::homePath()});
    EXPECT_EQ(w.Status(), QStringLiteral("已保存配置：") + InDir("scanner.json"));
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "scanner"));

    // The file: format and version first, then each setting with its keys in
    // one order, its names as the tree shows them.
    const std::string text = ReadFile(dir.Path() / "scanner.json");
    const auto json = nlohmann::ordered_json::parse(text);
    Strings keys;
    for (const auto& [key, value] : json.items())
        keys.push_back(key);
    EXPECT_EQ(keys, (Strings{"format", "version", "settings"}));
    EXPECT_EQ(json["format"], "quillon-profile");
    EXPECT_EQ(json["version"], 1);
    ASSERT_EQ(json["settings"].size(), chosen.size());
    std::size_t searchFrom = 0;
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        SCOPED_TRACE(i);
        const CodeInfo& entry = w.doc.entries[i];
        const auto& setting = json["settings"][i];
        Strings settingKeys;
        for (const auto& [key, value] : setting.items())
            settingKeys.push_back(key);
        const Strings expectedKeys = entry.optionValue ? Strings{"code", "value", "group", "setting", "option"}
                                                       : Strings{"code", "group", "setting", "option"};
        EXPECT_EQ(settingKeys, expectedKeys);
        EXPECT_EQ(setting["code"], entry.optionCode);
        if (entry.optionValue) {
            EXPECT_EQ(setting["value"], *entry.optionValue);
        }
        const auto& nodes = w.doc.catalogue.treeNodes;
        const auto option = std::find_if(nodes.begin(), nodes.end(), [&](const TreeNodeInfo& node) {
            return node.level == 3 && node.code == entry.optionCode;
        });
        ASSERT_NE(option, nodes.end());
        QTreeWidgetItem* item = w.window->Form()->WidgetItem(option->treeItem);
        EXPECT_EQ(setting["option"], item->text(0).toStdString());
        EXPECT_EQ(setting["setting"], item->parent()->text(0).toStdString());
        QTreeWidgetItem* group = item->parent();
        while (group->parent())
            group = group->parent();
        EXPECT_EQ(setting["group"], group->text(0).toStdString());
        // One setting to a group of lines, in the document's order.
        const std::size_t at = text.find("\"code\": \"" + entry.optionCode + "\"", searchFrom);
        ASSERT_NE(at, std::string::npos);
        const std::size_t lineStart = text.rfind('\n', at) + 1;
        const std::size_t previousLine = text.rfind('\n', lineStart - 2) + 1;
        EXPECT_EQ(text.substr(previousLine, lineStart - previousLine), "    {\n");
        searchFrom = at;
    }
    EXPECT_EQ(w.doc.entries[1].optionValue, std::optional<std::string>("5"));

    // Cleared (the question answered OK) and opened again.
    w.window->Action(CommandId::ClearDocument)->trigger();
    ASSERT_TRUE(w.doc.entries.empty());
    EXPECT_TRUE(Eventually([&] { return w.OnScreen().empty(); }));
    w.fileAnswers = {InDir("scanner.json")};
    ASSERT_TRUE(OperatorKey(w.window.get(), Qt::Key_O, Qt::ControlModifier, "ctrl+o"));
    ASSERT_TRUE(Eventually([&] { return w.doc.entries.size() == chosen.size(); }));
    EXPECT_EQ(w.fileStarts.last().toStdString(), dir.Path().string());  // the folder saved in
    EXPECT_EQ(w.Commands(), chosen);
    EXPECT_TRUE(Eventually([&] { return w.OnScreen() == chosen; }));
    EXPECT_EQ(w.OnScreen(), chosen);
    EXPECT_EQ(w.Status(), QStringLiteral("已打开配置：") + InDir("scanner.json"));
    EXPECT_EQ(Sorted(w.Printed(dir.Path() / "sheet.pdf")), Sorted(chosen));
    // Nothing asked but the clear question; no dialog opened for the profile.
    EXPECT_EQ(w.prompt.Texts(), Strings{kClearQuestion});
    EXPECT_EQ(w.dialogs.calls.size(), 2u);
}

TEST_F(ProfileFilesTest, OpeningAsksOnceToReplaceOrAdd)
{
    ProfileWindow w(StoreFile());
    w.Choose("3181", Count(3));
    w.Choose("4141");
    const Strings saved = w.Commands();
    w.fileAnswers = {InDir("two.json")};
    w.window->Action(CommandId::SaveProfile)->trigger();
    ASSERT_TRUE(std::filesystem::exists(dir.Path() / "two.json"));
    w.window->Action(CommandId::ClearDocument)->trigger();
    w.Choose("45CE", M1Block("A:15:0:FFFF"));
    const Strings own = w.Commands();

    const std::string question = std::string(kOpenModeQuestion) + " [" + kOpenModeReplace + "|" + kOpenModeAppend + "]";
    struct Case {
        const char* name;
        Choice answer;
        Strings expected;
    };
    Strings both = own;
    both.insert(both.end(), saved.begin(), saved.end());
    const Case cases[] = {
        {"cancel", Choice::Cancel, own},
        {"add to the end", Choice::Second, both},
        {"replace", Choice::First, saved},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        w.prompt.shown.clear();
        w.prompt.choices = {c.answer};
        w.fileAnswers = {InDir("two.json")};
        w.window->Action(CommandId::OpenProfile)->trigger();
        EXPECT_EQ(w.prompt.Texts(), Strings{question});
        EXPECT_EQ(w.Commands(), c.expected);
        EXPECT_TRUE(Eventually([&] { return w.OnScreen() == c.expected; }));
        EXPECT_EQ(w.OnScreen(), c.expected);
    }
}

TEST_F(ProfileFilesTest, ARefusedProfileLeavesTheSheetAsItWas)
{
    ProfileWindow w(StoreFile());
    w.Choose("4141");
    const Strings before = w.Commands();
    const std::string bad = dir.Write("bad.json", "{\n  \"format\": \"quillon-profile\",\n  \"version\": 1,\n"
                                                  "  \"settings\": [\n    {\"code\": \"ZZ9900\"}\n  ]\n}\n");
    w.prompt.choices = {Choice::First};
    w.fileAnswers = {QString::fromStdString(bad)};
    w.window->Action(CommandId::OpenProfile)->trigger();
    EXPECT_EQ(w.prompt.Texts(), Strings{std::string(kProfileRefusedText) + "\n" + bad +
                                        ":5: no option with code ZZ9900 in the catalogue"});
    EXPECT_EQ(w.Commands(), before);
    EXPECT_EQ(w.OnScreen(), before);
    // A refused file is no recent file.
    EXPECT_EQ(w.store.ReadList(SavePathStore::kRecentProfiles), QStringList{});
}

// Nothing to save, or a file that cannot be written: the operator is told,
// nothing is written and no recent file is added.
TEST_F(ProfileFilesTest, SaveRefusalsWriteNothing)
{
    ProfileWindow w(StoreFile());
    w.fileAnswers = {InDir("empty.json")};
    w.window->Action(CommandId::SaveProfile)->trigger();
    EXPECT_EQ(w.prompt.Texts(), Strings{kNothingToSaveText});
    EXPECT_TRUE(w.fileStarts.isEmpty());  // no file dialog

    w.Choose("4141");
    w.prompt.shown.clear();
    const QString unwritable = InDir("no-such-folder/p.json");
    w.fileAnswers = {unwritable};
    w.window->Action(CommandId::SaveProfile)->trigger();
    EXPECT_EQ(w.prompt.Texts(), Strings{std::string(kProfileSaveFailedText) + "\n" + unwritable.toStdString() +
                                        ": cannot create a file in the folder: No such file or directory"});
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);  // the settings store alone
    EXPECT_EQ(w.store.ReadList(SavePathStore::kRecentProfiles), QStringList{});
    EXPECT_EQ(w.store.Read(SavePathStore::kProfileFolder), QString());
}

// The recent profiles stay in the File menu across runs of the program,
// newest first; one that has gone is taken off with a message.
TEST_F(ProfileFilesTest, RecentProfilesOutliveTheWindow)
{
    const QString first = InDir("a,first.json");  // a comma survives the store
    const QString second = InDir("R&D.json");     // an "&" is shown, not a key
    {
        ProfileWindow w(StoreFile());
        EXPECT_EQ(w.FileMenuTexts(),
                  (QStringList{"打开配置(&O)...\tCtrl+O", "保存配置(&S)...\tCtrl+S", "-", "清空文档(&N)\tCtrl+N",
                               "打印文档(&P)...\tCtrl+P", "打印设置(&R)...", "-", "退出(&X)"}));
        w.Choose("4141");
        w.fileAnswers = {first, second};
        w.window->Action(CommandId::SaveProfile)->trigger();
        w.window->Action(CommandId::SaveProfile)->trigger();
        w.Choose("3181", Count(3));
        w.fileAnswers = {first};
        w.window->Action(CommandId::SaveProfile)->trigger();  // saved again: to the top
    }
    ProfileWindow again(StoreFile());
    const QString dirText = QString::fromStdString(dir.Path().string());
    EXPECT_EQ(again.FileMenuTexts().mid(6, 3),
              (QStringList{"-", "&1 a,first.json  (" + dirText + ")", "&2 R&&D.json  (" + dirText + ")"}));
    EXPECT_EQ(again.FileMenuTexts().mid(9), (QStringList{"-", "退出(&X)"}));

    // Chosen from the menu, the second file opens and moves to the top.
    again.ChooseRecent(2);
    ASSERT_TRUE(Eventually([&] { return again.doc.entries.size() == 1u; }));
    EXPECT_TRUE(Eventually([&] { return again.OnScreen() == again.Commands(); }));
    EXPECT_EQ(again.OnScreen(), again.Commands());
    EXPECT_TRUE(again.prompt.shown.empty());
    EXPECT_EQ(again.store.ReadList(SavePathStore::kRecentProfiles), (QStringList{second, first}));

    std::filesystem::remove(first.toStdString());
    again.ChooseRecent(2);
    EXPECT_EQ(again.prompt.Texts(), Strings{std::string(kRecentMissingText) + "\n" + first.toStdString()});
    EXPECT_EQ(again.doc.entries.size(), 1u);
    QApplication::processEvents();
    EXPECT_EQ(again.FileMenuTexts().mid(7, 1), QStringList{"&1 R&&D.json  (" + dirText + ")"});
    EXPECT_EQ(again.store.ReadList(SavePathStore::kRecentProfiles), QStringList{second});
}

// The real question box: its buttons carry the two ways and Cancel, and each
// gives its own answer; closing the box is Cancel.
TEST(ProfileQuestionTest, TheBoxAnswersByItsButtons)
{
    const std::pair<QString, Choice> cases[] = {
        {QString::fromUtf8(kOpenModeReplace), Choice::First},
        {QString::fromUtf8(kOpenModeAppend), Choice::Second},
        {QStringLiteral("取消"), Choice::Cancel},
        {QString(), Choice::Cancel},  // Escape
    };
    for (const auto& [button, answer] : cases) {
        SCOPED_TRACE(button.toStdString());
        QtPrompt prompt;
        QStringList buttons;
        QString text;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            text = box->text();
            for (QAbstractButton* shown : box->buttons())
                buttons << shown->text();
            if (button.isEmpty()) {
                QTest::keyClick(box, Qt::Key_Escape);
                return;
            }
            for (QAbstractButton* shown : box->buttons())
                if (shown->text() == button)
                    shown->click();
        });
        EXPECT_EQ(prompt.AskChoice(kOpenModeQuestion, kOpenModeReplace, kOpenModeAppend), answer);
        EXPECT_EQ(text.toStdString(), kOpenModeQuestion);
        buttons.sort();
        QStringList expected{QString::fromUtf8(kOpenModeReplace), QString::fromUtf8(kOpenModeAppend),
                             QStringLiteral("取消")};
        expected.sort();
        EXPECT_EQ(buttons, expected);
    }
}

}  // namespace
}  // namespace quillon
