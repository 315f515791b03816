// Properties the bundled catalogue must keep so that every part of the
// program has something to work on: every parameter dialog, every frame
// length form, the connect probe, the version fields, image extraction and a
// read-back that ends on the exposure setting.  The English catalogue must
// keep them too, and differ from the Chinese one in nothing but its texts.

#include "catalogue/CatalogueLoader.h"
#include "catalogue/CatalogueTree.h"
#include "catalogue/XmlReader.h"
#include "support/Han.h"
#include "support/RecordingPrompt.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace quillon {
namespace {

int HexByte(const std::string& text, std::size_t pos)
{
    return std::stoi(text.substr(pos, 2), nullptr, 16);
}

struct LoadedCatalogue {
    explicit LoadedCatalogue(const std::string& file)
    {
        status = CatalogueLoader(reader, lists, tree, prompt)
                     .LoadCatalogue(std::string(QUILLON_SOURCE_DIR) + "/config/" + file);
    }
    test::RecordingPrompt prompt;
    CXmlReader reader;
    CatalogueLists lists;
    CatalogueTree tree;
    int status = 99;
};

using test::HasHan;

class BundledCatalogueTest : public ::testing::TestWithParam<const char*>, protected LoadedCatalogue {
protected:
    BundledCatalogueTest() : LoadedCatalogue(GetParam())
    {
        const TreeNodeInfo* setting = nullptr;
        for (const auto& node : lists.treeNodes) {
            if (node.level == 2)
                setting = &node;
            if (node.level == 3)
                options.emplace_back(setting, &node);
        }
    }

    std::vector<std::pair<const TreeNodeInfo*, const TreeNodeInfo*>> options;  // with their setting
};

TEST_P(BundledCatalogueTest, LoadsCompletelyWithCaptionsDescriptionsAndUpperCaseCodes)
{
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_TRUE(reader.GetResultText().starts_with("UTF-8 ")) << reader.GetResultText();
    EXPECT_GE(options.size(), 250u);
    EXPECT_GE(tree.Roots().size(), 8u);
    for (const auto& node : lists.treeNodes)
        EXPECT_FALSE(node.name.empty());
    for (const auto& [setting, option] : options) {
        SCOPED_TRACE(option->name + " " + option->code);
        ASSERT_NE(setting, nullptr);
        EXPECT_FALSE(option->info.empty());
        // Upper-case hex throughout, so the device's reports can match them.
        EXPECT_EQ(option->code.size() % 2, 0u);
        EXPECT_EQ(option->code.find_first_not_of("0123456789ABCDEF"), std::string::npos);
        // Written with their key already, so loading changed nothing.
        if (setting->cmdType == "21") {
            EXPECT_EQ(option->code.substr(0, 4), setting->pidFid);
        }
    }
}

TEST_P(BundledCatalogueTest, EveryParameterDialogKeyAndTheCustomCodeSettingArePresent)
{
    std::set<std::string> codes;
    for (const auto& [setting, option] : options)
        codes.insert(option->code);
    for (const char* key :
         {"45CE", "51C1", "51C2", "51D1", "51D2", "31C4", "3181", "3183", "3185", "3186", "3187", "3188",
          "3189", "318A", "6182", "618A", "6188", "7181", "6482", "6481", "4591", "4592", "5083", "5084"})
        EXPECT_TRUE(codes.count(std::string(key) + "0000")) << key;
    // 50 42 is a one-byte setting: its option carries one data byte.
    EXPECT_TRUE(codes.count("504200"));
    EXPECT_TRUE(std::any_of(lists.treeNodes.begin(), lists.treeNodes.end(),
                            [](const TreeNodeInfo& node) { return node.level == 2 && node.pidFid == "8265"; }));
}

TEST_P(BundledCatalogueTest, EveryLengthFormOccursAndEachCodeLengthAgreesWithItsForm)
{
    std::map<int, int> forms;
    std::map<std::string, int> cmdTypes;
    bool countedWithData = false;
    for (const auto& [setting, option] : options) {
        const std::string& code = option->code;
        SCOPED_TRACE(code);
        ++cmdTypes[option->cmdType];
        if (option->cmdType == "23") {
            EXPECT_EQ(code.size(), 4u);  // a read request carries the key alone
            continue;
        }
        ASSERT_GE(code.size(), 4u);
        const int form = HexByte(code, 2) >> 6;
        ++forms[form];
        if (form < 3) {
            EXPECT_EQ(code.size(), 4u + 2u * static_cast<std::size_t>(form));
        } else {
            ASSERT_GE(code.size(), 8u);
            EXPECT_EQ(code.size(), 8u + 2u * static_cast<std::size_t>(std::stoi(code.substr(4, 4), nullptr, 16)));
            countedWithData = countedWithData || code.size() > 8;
        }
    }
    for (int form = 0; form < 4; ++form)
        EXPECT_GT(forms[form], 0) << "form " << form;
    EXPECT_TRUE(countedWithData);
    EXPECT_EQ(cmdTypes.size(), 3u);
    EXPECT_GT(cmdTypes["23"], 0);
    EXPECT_GT(cmdTypes["32"], 0);
    EXPECT_GT(cmdTypes["21"], 10 * (cmdTypes["23"] + cmdTypes["32"]));
}

TEST_P(BundledCatalogueTest, CommandSections)
{
    ASSERT_FALSE(lists.transDataCmds.empty());
    std::vector<std::string> enabledProbes, infoCodes;
    for (const auto& entry : lists.connectReadCmds)
        if (entry.nodeIdFlag == 1)
            enabledProbes.push_back(entry.code);
    EXPECT_EQ(enabledProbes, std::vector<std::string>{"1040"});
    for (const auto& entry : lists.readCmds)
        infoCodes.push_back(entry.code);
    EXPECT_EQ(infoCodes, (std::vector<std::string>{"02C1", "02C2", "02C3", "02C4", "02C5", "02C6", "02C7", "02C8"}));
    ASSERT_EQ(lists.transPicCmds.size(), 1u);
    EXPECT_EQ(lists.transPicCmds[0].nodeIdFlag, 1);
}

TEST_P(BundledCatalogueTest, ReadBackEndsOnExposureSetting)
{
    // The requests in the order the read-back sends them: every setting of
    // type 21, and the extra keys some options carry.
    const std::set<std::string> extraKeys = {"31860000", "31870000", "31880000", "31890000", "318A0000"};
    std::vector<std::string> requests;
    for (const auto& node : lists.treeNodes) {
        if (node.cmdType != "21")
            continue;
        if (node.level == 2)
            requests.push_back(node.pidFid);
        if (node.level == 3 && extraKeys.count(node.code))
            requests.push_back(node.code.substr(0, 4));
    }
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back(), "7181");
    EXPECT_EQ(std::count(requests.begin(), requests.end(), "7181"), 1);
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, BundledCatalogueTest, ::testing::Values("all.xml", "all.en.xml"));

// What goes to the device is the same whichever catalogue the interface's
// language picks: every node and command entry one by one.
TEST(EnglishCatalogueTest, SameCodesAsTheChineseOneWithEveryTextTranslated)
{
    const LoadedCatalogue chinese("all.xml");
    const LoadedCatalogue english("all.en.xml");
    ASSERT_EQ(chinese.status, 0);
    ASSERT_EQ(english.status, 0);
    ASSERT_EQ(english.lists.treeNodes.size(), chinese.lists.treeNodes.size());
    for (std::size_t i = 0; i < chinese.lists.treeNodes.size(); ++i) {
        const TreeNodeInfo& zh = chinese.lists.treeNodes[i];
        const TreeNodeInfo& en = english.lists.treeNodes[i];
        SCOPED_TRACE(zh.name + " / " + en.name);
        EXPECT_EQ(en.level, zh.level);
        EXPECT_EQ(en.code, zh.code);
        EXPECT_EQ(en.cmdType, zh.cmdType);
        EXPECT_EQ(en.pidFid, zh.pidFid);
        for (const std::string* text : {&en.name, &en.info, &en.groupName})
            EXPECT_FALSE(HasHan(*text)) << *text;
        EXPECT_EQ(en.name.empty(), zh.name.empty());
        EXPECT_EQ(en.info.empty(), zh.info.empty());
    }
    const auto sameCommands = [](const std::vector<CmdNodeInfo>& en, const std::vector<CmdNodeInfo>& zh) {
        ASSERT_EQ(en.size(), zh.size());
        for (std::size_t i = 0; i < zh.size(); ++i) {
            EXPECT_EQ(en[i].code, zh[i].code) << zh[i].name;
            EXPECT_EQ(en[i].nodeIdFlag, zh[i].nodeIdFlag) << zh[i].name;
            EXPECT_FALSE(HasHan(en[i].name) || HasHan(en[i].info)) << en[i].name;
        }
    };
    sameCommands(english.lists.transDataCmds, chinese.lists.transDataCmds);
    sameCommands(english.lists.transPicCmds, chinese.lists.transPicCmds);
    sameCommands(english.lists.readCmds, chinese.lists.readCmds);
    sameCommands(english.lists.connectReadCmds, chinese.lists.connectReadCmds);
}

}  // namespace
}  // namespace quillon
