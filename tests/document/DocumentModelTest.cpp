#include "document/QuillonDoc.h"
#include "support/RecordingPrompt.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace quillon {
namespace {

class DocumentModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        doc.SetPrompt(&prompt);
        // 0: the setting; 1 to 4: options.
        const auto node = [](int level, std::string code, std::string cmdType, std::string name) {
            TreeNodeInfo info;
            info.level = level;
            info.code = std::move(code);
            info.cmdType = std::move(cmdType);
            info.name = std::move(name);
            return info;
        };
        doc.catalogue.treeNodes = {node(2, "", "", " 蜂鸣器 "), node(3, "31860000", "21", "开启"),
                                   node(3, "31860000", "32", "开启"), node(3, "31860000", "22", " 关闭 "),
                                   node(3, "3186", "21", "短码")};
        doc.catalogue.treeNodes[0].groupName = "  通用 ";
        doc.catalogue.treeNodes[1].info = "说明";
    }
    std::vector<std::string> Codes() const
    {
        std::vector<std::string> codes;
        for (const CodeInfo& entry : doc.entries)
            codes.push_back(entry.codeText);
        return codes;
    }

    CQuillonDoc doc;
    test::RecordingPrompt prompt;
};

TEST_F(DocumentModelTest, CommandStringAndCaptionPerKind)
{
    struct {
        int option;
        ValueTriple value;
        std::string captionText, command, caption;
    } const cases[] = {
        {1, {"", 0, 0, ""}, "", "<AW>31860000", "通用 蜂鸣器 开启"},
        {2, {"", 0, 0, ""}, "", "<AC>31860000", "通用 蜂鸣器 开启"},
        {3, {"", 0, 0, ""}, "", "31860000", "通用 蜂鸣器 关闭"},
        {1, {"", 0, 0, ""}, " 500ms ", "<AW>31860000", "通用 蜂鸣器 500ms"},
        {1, {"AB", 2, 1, ""}, "", "<AW>318600024142", "通用 蜂鸣器 AB"},
        {1, {"AB", 0, 1, ""}, "", "<AW>31860000", "通用 蜂鸣器 AB"},  // length 0 keeps the whole code
        {3, {"a\tb\r\n", 5, 1, ""}, "", "318600056109620D0A", "通用 蜂鸣器 a\\tb\\r\\n"},
        {3, {"中", 1, 1, ""}, "", "318600014E2D", "通用 蜂鸣器 中"},
        {3, {"A", 0x10001, 1, ""}, "", "3186000141", "通用 蜂鸣器 A"},  // low 16 bits of the length
        {1, {"01F4", 2, 2, ""}, "半秒", "<AW>318601F4", "通用 蜂鸣器 半秒"},
        {2, {"0A0D", 2, 3, ""}, "", "<AC>318600020A0D", "通用 蜂鸣器 (Hex)  0A0D"},
        {1, {"XX", 2, 9, ""}, "", "<AW>31860000", "通用 蜂鸣器 开启"},
        {4, {"01", 1, 2, ""}, "", "<AW>318601", "通用 蜂鸣器 短码"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        doc.entries.clear();
        ASSERT_EQ(
            doc.AddCommandEntry(c.option, 0, c.value.valueText, c.value.valueLength, c.value.valueKind, c.captionText),
            0);
        ASSERT_EQ(doc.entries.size(), 1u);
        EXPECT_EQ(doc.entries[0].codeText, c.command);
        EXPECT_EQ(doc.entries[0].caption, c.caption);
    }
    static_cast<IConfigurationTarget&>(doc).AddCommandEntry(2, 0, ValueTriple{"0A0D", 2, 3, ""}, "");
    EXPECT_EQ(doc.entries.back().codeText, "<AC>318600020A0D") << "the selection target's path";
}

TEST_F(DocumentModelTest, SuccessiveEntriesStack80UnitsApartEvenAfterUndo)
{
    for (const char* code : {"A", "a much longer command string", "B", "C"})
        ASSERT_TRUE(doc.AddEntry(code, "caption"));
    ASSERT_TRUE(doc.RemoveLastEntry(ViewMode::Configuration));
    ASSERT_TRUE(doc.AddEntry("D", "caption"));
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        const CodeInfo& e = doc.entries[static_cast<std::size_t>(k)];
        const int y = 15 + 80 * k;
        EXPECT_EQ((std::vector<int>{e.captionX, e.captionY, e.codeX, e.codeY, e.symbolX, e.symbolY, e.barHeight,
                                    e.moduleWidth, e.symbolVisible}),
                  (std::vector<int>{60, y, 110, y + 60, 60, y + 20, 35, 1, 1}));
        EXPECT_GT(e.moduleCount, 0);
        EXPECT_EQ(e.symbolWidth, e.moduleCount);
        ASSERT_EQ(e.modules.size(), static_cast<std::size_t>(e.moduleCount));
        // Code 128 starts with a bar and ends with the two-module stop bar.
        EXPECT_EQ(e.modules.front() + e.modules.back() + e.modules[e.modules.size() - 2], 3);
    }
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(DocumentModelTest, DuplicatesAskOnceAndOnlyOnExactMatch)
{
    doc.AddEntry("<aw>31860000", "other case");
    ASSERT_EQ(doc.AddCommandEntry(1, 0, "", 0, 0, ""), 0);
    EXPECT_TRUE(prompt.shown.empty()) << "the comparison is case-sensitive";

    prompt.answers = {false};
    EXPECT_EQ(doc.AddCommandEntry(1, 0, "", 0, 0, ""), 1);
    EXPECT_EQ(doc.entries.size(), 2u) << "cancel keeps the list";
    prompt.answers = {true, true};
    EXPECT_EQ(doc.AddCommandEntry(1, 0, "", 0, 0, ""), 0);
    EXPECT_EQ(doc.AddCommandEntry(1, 0, "", 0, 0, ""), 0);
    EXPECT_EQ(Codes(), (std::vector<std::string>{"<aw>31860000", "<AW>31860000", "<AW>31860000", "<AW>31860000"}));
    ASSERT_EQ(prompt.shown.size(), 3u) << "one question each time, however many copies";
    EXPECT_EQ(prompt.shown[2].kind, test::RecordingPrompt::Shown::Question);
    EXPECT_EQ(prompt.shown[2].text, "命令已存在，是否重复添加？");
}

TEST_F(DocumentModelTest, UndoRemovesOnlyInTheConfigurationView)
{
    EXPECT_FALSE(doc.RemoveLastEntry(ViewMode::Configuration));
    doc.AddEntry("A", "a");
    doc.AddEntry("B", "b");
    doc.ConversionCommand(true);
    EXPECT_FALSE(doc.RemoveLastEntry(ViewMode::Monitor));
    EXPECT_TRUE(doc.RemoveLastEntry(ViewMode::Configuration));
    EXPECT_EQ(Codes(), std::vector<std::string>{"A"});
    EXPECT_EQ(doc.convCodes.size(), 2u) << "the conversion result stays as it was built";
    EXPECT_EQ(doc.displayMode, CQuillonDoc::kShowConversion);
}

TEST_F(DocumentModelTest, ClearEmptiesWhatTheViewShows)
{
    struct {
        ViewMode viewMode;
        bool answer, entriesKept, decodedKept;
    } const cases[] = {
        {ViewMode::Configuration, false, true, true},
        {ViewMode::Configuration, true, false, true},
        {ViewMode::Monitor, true, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.viewMode) << c.answer);
        doc.entries.clear();
        doc.displayMode = CQuillonDoc::kShowList;
        doc.AddEntry("A", "a");
        ASSERT_TRUE(doc.ConversionCommand(false));
        doc.decodedLines = {{"line"}};
        prompt.shown.clear();
        prompt.answers = {c.answer};

        EXPECT_EQ(doc.ClearDocument(c.viewMode), c.answer);
        EXPECT_EQ(prompt.Texts(), std::vector<std::string>{"是否要清空当前文档？"});
        EXPECT_EQ(!doc.entries.empty(), c.entriesKept);
        EXPECT_EQ(!doc.convCodes.empty() || !doc.convCaptions.empty(), c.entriesKept);
        EXPECT_EQ(doc.convWidth > 0 || doc.convHeight > 0 || !doc.convPixels.empty(), c.entriesKept);
        EXPECT_EQ(doc.displayMode, c.entriesKept ? CQuillonDoc::kShowConversion : CQuillonDoc::kShowList);
        EXPECT_EQ(!doc.decodedLines.empty(), c.decodedKept);
    }
}

TEST_F(DocumentModelTest, ConversionCommandTogglesAndRefusesAnEmptyDocument)
{
    EXPECT_FALSE(doc.ConversionCommand(true));
    EXPECT_EQ(doc.displayMode, CQuillonDoc::kShowList);
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>{"当前条码文档为空，请先编辑设置条码内容！"});

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

TEST_F(DocumentModelTest, OptionInfoAndRecordIndices)
{
    EXPECT_EQ(doc.GetOptionInfo(1), "说明");
    EXPECT_EQ(doc.GetOptionInfo(0), "");
    EXPECT_THROW(doc.AddCommandEntry(99, 0, "", 0, 0, ""), std::out_of_range);
    EXPECT_THROW(doc.AddCommandEntry(1, -1, "", 0, 0, ""), std::out_of_range);
    EXPECT_TRUE(doc.entries.empty());
}

TEST_F(DocumentModelTest, ACommandCode128CannotCarryIsAddedWithoutBarsAndTheOperatorIsTold)
{
    const std::string longText(61, 'A');
    ASSERT_TRUE(doc.AddEntry(longText, "long"));
    ASSERT_EQ(Codes(), std::vector<std::string>{longText});
    EXPECT_EQ(doc.entries[0].moduleCount, 0);
    EXPECT_FALSE(doc.entries[0].symbolNote.empty());
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].kind, test::RecordingPrompt::Shown::Error);
    EXPECT_EQ(prompt.shown[0].text, kTooLongForCode128Text);

    doc.ConvertDocument(true);
    EXPECT_EQ(doc.convCodes, std::vector<std::string>{longText}) << "the conversion still carries it";
    EXPECT_GT(doc.convWidth, 0);
}

}  // namespace
}  // namespace quillon
