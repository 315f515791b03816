#include "document/QuillonDoc.h"
#include "support/RecordingPrompt.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace quillon {
namespace {

TreeNodeInfo Setting(std::string group, std::string name)
{
    TreeNodeInfo node;
    node.groupName = std::move(group);
    node.name = std::move(name);
    node.level = 2;
    return node;
}

TreeNodeInfo Option(std::string code, std::string cmdType, std::string name, std::string info = {})
{
    TreeNodeInfo node;
    node.code = std::move(code);
    node.cmdType = std::move(cmdType);
    node.name = std::move(name);
    node.info = std::move(info);
    node.level = 3;
    return node;
}

class DocumentModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        doc.SetPrompt(&prompt);
        doc.catalogue.treeNodes = {
            Setting("  通用 ", " 蜂鸣器 "),              // 0
            Option("31860000", "21", "开启", "说明"),    // 1
            Option("31860000", "32", "开启"),            // 2
            Option("31860000", "22", " 关闭 "),          // 3
            Option("3186", "21", "短码"),                // 4
        };
    }

    CQuillonDoc doc;
    test::RecordingPrompt prompt;
};

struct CommandCase {
    const char* label;
    int option;
    ValueTriple value;
    std::string captionText;
    std::string command;
    std::string caption;
};

TEST_F(DocumentModelTest, CommandStringAndCaptionPerKind)
{
    const CommandCase cases[] = {
        {"kind 0, type 21", 1, {"", 0, 0}, "", "<AW>31860000", "通用 蜂鸣器 开启"},
        {"kind 0, type 32", 2, {"", 0, 0}, "", "<AC>31860000", "通用 蜂鸣器 开启"},
        {"kind 0, other type", 3, {"", 0, 0}, "", "31860000", "通用 蜂鸣器 关闭"},
        {"kind 0 with caption text", 1, {"", 0, 0}, " 500ms ", "<AW>31860000", "通用 蜂鸣器 500ms"},
        {"kind 1, AB", 1, {"AB", 2, 1}, "", "<AW>318600024142", "通用 蜂鸣器 AB"},
        {"kind 1, length 0 keeps the code", 1, {"AB", 0, 1}, "", "<AW>31860000", "通用 蜂鸣器 AB"},
        {"kind 1, control characters", 3, {"a\tb\r\n", 5, 1}, "", "318600056109620D0A",
         "通用 蜂鸣器 a\\tb\\r\\n"},
        {"kind 1, wide character", 3, {"中", 1, 1}, "", "318600014E2D", "通用 蜂鸣器 中"},
        {"kind 1, length uses low 16 bits", 3, {"A", 0x10001, 1}, "", "3186000141", "通用 蜂鸣器 A"},
        {"kind 2", 1, {"01F4", 2, 2}, "半秒", "<AW>318601F4", "通用 蜂鸣器 半秒"},
        {"kind 3", 2, {"0A0D", 2, 3}, "", "<AC>318600020A0D", "通用 蜂鸣器 (Hex)  0A0D"},
        {"unknown kind", 1, {"XX", 2, 9}, "", "<AW>31860000", "通用 蜂鸣器 开启"},
        {"short code", 4, {"01", 1, 2}, "", "<AW>318601", "通用 蜂鸣器 短码"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        doc.entries.clear();
        ASSERT_EQ(doc.AddCommandEntry(c.option, 0, c.value.valueText, c.value.valueLength, c.value.valueKind,
                                      c.captionText),
                  0);
        ASSERT_EQ(doc.entries.size(), 1u);
        EXPECT_EQ(doc.entries[0].codeText, c.command);
        EXPECT_EQ(doc.entries[0].caption, c.caption);
    }
}

TEST_F(DocumentModelTest, TheSelectionTargetInterfaceAddsTheSameEntry)
{
    IConfigurationTarget& target = doc;
    target.AddCommandEntry(2, 0, ValueTriple{"0A0D", 2, 3}, "");
    ASSERT_EQ(doc.entries.size(), 1u);
    EXPECT_EQ(doc.entries[0].codeText, "<AC>318600020A0D");
}

TEST_F(DocumentModelTest, SuccessiveEntriesStack80UnitsApart)
{
    const char* codes[] = {"A", "a much longer command string", "B"};
    int expectedCaptionY = 15;
    for (const char* code : codes) {
        ASSERT_TRUE(doc.AddEntry(code, "caption"));
        const CodeInfo& entry = doc.entries.back();
        SCOPED_TRACE(code);
        EXPECT_EQ(entry.captionX, 60);
        EXPECT_EQ(entry.captionY, expectedCaptionY);
        EXPECT_EQ(entry.codeX, 110);
        EXPECT_EQ(entry.codeY, expectedCaptionY + 60);
        EXPECT_EQ(entry.symbolX, 60);
        EXPECT_EQ(entry.symbolY, expectedCaptionY + 20);
        EXPECT_EQ(entry.barHeight, 35);
        EXPECT_EQ(entry.moduleWidth, 1);
        EXPECT_EQ(entry.symbolVisible, 1);
        EXPECT_GT(entry.moduleCount, 0);
        EXPECT_EQ(entry.symbolWidth, entry.moduleCount);
        EXPECT_EQ(entry.modules.size(), static_cast<std::size_t>(entry.moduleCount));
        // Code 128 starts with a bar and ends with the two-module stop bar.
        EXPECT_EQ(entry.modules.front(), 1);
        EXPECT_EQ(entry.modules[entry.modules.size() - 1], 1);
        EXPECT_EQ(entry.modules[entry.modules.size() - 2], 1);
        expectedCaptionY += 80;
    }
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(DocumentModelTest, PositionsFollowTheLastEntryEvenAfterUndo)
{
    doc.AddEntry("A", "a");
    doc.AddEntry("B", "b");
    doc.AddEntry("C", "c");
    ASSERT_TRUE(doc.RemoveLastEntry(CQuillonDoc::kConfigurationView));
    doc.AddEntry("D", "d");
    EXPECT_EQ(doc.entries.back().captionY, 175);
}

struct DuplicateCase {
    const char* label;
    bool answer;
    std::size_t expectedSize;
    int expectedResult;
};

TEST_F(DocumentModelTest, DuplicateAnswers)
{
    const DuplicateCase cases[] = {
        {"cancel keeps the list", false, 1, 1},
        {"ok adds it twice", true, 2, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        doc.entries.clear();
        prompt.shown.clear();
        ASSERT_EQ(doc.AddCommandEntry(1, 0, "", 0, 0, ""), 0);
        prompt.answers = {c.answer};
        EXPECT_EQ(doc.AddCommandEntry(1, 0, "", 0, 0, ""), c.expectedResult);
        EXPECT_EQ(doc.entries.size(), c.expectedSize);
        ASSERT_EQ(prompt.shown.size(), 1u);
        EXPECT_EQ(prompt.shown[0].kind, test::RecordingPrompt::Shown::Question);
        EXPECT_EQ(prompt.shown[0].text, "命令已存在，是否重复添加？");
    }
}

TEST_F(DocumentModelTest, DuplicateQuestionIsAskedOnceEvenWithSeveralCopies)
{
    doc.AddEntry("<AW>31860000", "x");
    doc.AddEntry("<AW>31860000", "y");
    prompt.answers = {true};
    doc.AddCommandEntry(1, 0, "", 0, 0, "");
    EXPECT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(doc.entries.size(), 3u);
}

TEST_F(DocumentModelTest, DuplicateComparisonIsCaseSensitive)
{
    doc.AddEntry("<aw>31860000", "x");
    doc.AddCommandEntry(1, 0, "", 0, 0, "");
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(doc.entries.size(), 2u);
}

TEST_F(DocumentModelTest, UndoRemovesOnlyInTheConfigurationView)
{
    EXPECT_FALSE(doc.RemoveLastEntry(CQuillonDoc::kConfigurationView));
    doc.AddEntry("A", "a");
    doc.AddEntry("B", "b");
    doc.ConversionCommand(true);
    EXPECT_FALSE(doc.RemoveLastEntry(CQuillonDoc::kMonitorView));
    EXPECT_EQ(doc.entries.size(), 2u);
    EXPECT_TRUE(doc.RemoveLastEntry(CQuillonDoc::kConfigurationView));
    ASSERT_EQ(doc.entries.size(), 1u);
    EXPECT_EQ(doc.entries[0].codeText, "A");
    // The conversion result stays as it was built.
    EXPECT_EQ(doc.convCodes.size(), 2u);
    EXPECT_EQ(doc.displayMode, CQuillonDoc::kShowConversion);
}

TEST_F(DocumentModelTest, ClearEmptiesWhatTheViewShows)
{
    struct Case {
        const char* label;
        int viewMode;
        bool answer;
        bool entriesKept;
        bool decodedKept;
    } cases[] = {
        {"cancel changes nothing", CQuillonDoc::kConfigurationView, false, true, true},
        {"configuration view", CQuillonDoc::kConfigurationView, true, false, true},
        {"monitor view", CQuillonDoc::kMonitorView, true, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        doc.entries.clear();
        doc.displayMode = CQuillonDoc::kShowList;
        doc.AddEntry("A", "a");
        ASSERT_TRUE(doc.ConversionCommand(false));
        doc.decodedLines = {{"line"}};
        prompt.shown.clear();
        prompt.answers = {c.answer};

        EXPECT_EQ(doc.ClearDocument(c.viewMode), c.answer);
        ASSERT_EQ(prompt.shown.size(), 1u);
        EXPECT_EQ(prompt.shown[0].text, "是否要清空当前文档？");
        EXPECT_EQ(!doc.entries.empty(), c.entriesKept);
        EXPECT_EQ(!doc.convCodes.empty(), c.entriesKept);
        EXPECT_EQ(doc.convWidth > 0, c.entriesKept);
        EXPECT_EQ(doc.displayMode, c.entriesKept ? CQuillonDoc::kShowConversion : CQuillonDoc::kShowList);
        EXPECT_EQ(!doc.decodedLines.empty(), c.decodedKept);
    }
}

TEST_F(DocumentModelTest, ConversionCommandTogglesAndRefusesAnEmptyDocument)
{
    EXPECT_FALSE(doc.ConversionCommand(true));
    EXPECT_EQ(doc.displayMode, CQuillonDoc::kShowList);
    ASSERT_EQ(prompt.Texts(), std::vector<std::string>{"当前条码文档为空，请先编辑设置条码内容！"});

    doc.AddEntry("A", "first");
    doc.AddEntry("B", "second");
    EXPECT_TRUE(doc.ConversionCommand(true));
    EXPECT_EQ(doc.displayMode, CQuillonDoc::kShowConversion);
    EXPECT_EQ(doc.convCaptions, (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(doc.convCodes, (std::vector<std::string>{"A", "B"}));

    doc.AddEntry("C", "third");
    EXPECT_TRUE(doc.ConversionCommand(true));
    EXPECT_EQ(doc.displayMode, CQuillonDoc::kShowList);
    EXPECT_EQ(doc.convCodes.size(), 2u) << "the result stays until the next conversion";
    EXPECT_TRUE(doc.ConversionCommand(false));
    EXPECT_EQ(doc.convCodes.size(), 3u);
}

TEST_F(DocumentModelTest, OptionInfoOnlyForOptions)
{
    EXPECT_EQ(doc.GetOptionInfo(1), "说明");
    EXPECT_EQ(doc.GetOptionInfo(0), "");
}

TEST_F(DocumentModelTest, RecordIndexOutsideTheCatalogueThrows)
{
    EXPECT_THROW(doc.AddCommandEntry(99, 0, "", 0, 0, ""), std::out_of_range);
    EXPECT_THROW(doc.AddCommandEntry(1, -1, "", 0, 0, ""), std::out_of_range);
    EXPECT_TRUE(doc.entries.empty());
}

TEST_F(DocumentModelTest, ACommandCode128CannotCarryIsAddedWithoutBarsAndTheOperatorIsTold)
{
    const std::string longText(61, 'A');
    ASSERT_TRUE(doc.AddEntry(longText, "long"));
    ASSERT_EQ(doc.entries.size(), 1u);
    const CodeInfo& entry = doc.entries[0];
    EXPECT_EQ(entry.codeText, longText);
    EXPECT_EQ(entry.moduleCount, 0);
    EXPECT_FALSE(entry.symbolNote.empty());
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].kind, test::RecordingPrompt::Shown::Error);
    EXPECT_EQ(prompt.shown[0].text, kTooLongForCode128Text);

    // The conversion still carries it.
    doc.ConvertDocument(true);
    EXPECT_EQ(doc.convCodes, std::vector<std::string>{longText});
    EXPECT_GT(doc.convWidth, 0);
}

}  // namespace
}  // namespace quillon
