// Properties the bundled catalogue must keep so that every part of the
// program has something to work on: every parameter dialog, every frame
// length form, the connect probe, the version fields, image extraction and a
// read-back that ends on the exposure setting.

#include "catalogue/CatalogueLoader.h"
#include "catalogue/CatalogueTree.h"
#include "catalogue/XmlReader.h"
#include "support/RecordingPrompt.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace quillon {
namespace {

class BundledCatalogueTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CatalogueLoader loader(reader, lists, tree, prompt);
        status = loader.LoadCatalogue(std::string(QUILLON_SOURCE_DIR) + "/config/all.xml");
    }

    // Options with the setting each belongs to.
    std::vector<std::pair<const TreeNodeInfo*, const TreeNodeInfo*>> Options() const
    {
        std::vector<std::pair<const TreeNodeInfo*, const TreeNodeInfo*>> options;
        const TreeNodeInfo* setting = nullptr;
        for (const auto& node : lists.treeNodes) {
            if (node.level == 2)
                setting = &node;
            else if (node.level == 3)
                options.emplace_back(setting, &node);
        }
        return options;
    }

    static int HexByte(const std::string& text, std::size_t pos) { return std::stoi(text.substr(pos, 2), nullptr, 16); }

    test::RecordingPrompt prompt;
    CXmlReader reader;
    CatalogueLists lists;
    CatalogueTree tree;
    int status = 99;
};

TEST_F(BundledCatalogueTest, LoadsCompletelyWithoutMessage)
{
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(reader.GetResultText().rfind("UTF-8 ", 0), 0u) << reader.GetResultText();
    EXPECT_GE(Options().size(), 250u);
    EXPECT_GE(tree.Roots().size(), 8u);
}

TEST_F(BundledCatalogueTest, EveryRecordHasCaptionAndEveryOptionADescriptionAndUpperCaseHexCode)
{
    for (const auto& node : lists.treeNodes)
        EXPECT_FALSE(node.name.empty());
    for (const auto& [setting, option] : Options()) {
        SCOPED_TRACE(setting->name + " / " + option->name);
        ASSERT_NE(setting, nullptr);
        EXPECT_FALSE(option->info.empty());
        EXPECT_EQ(option->code.size() % 2, 0u);
        // Upper case throughout, so the device's reports can match them.
        EXPECT_TRUE(std::all_of(option->code.begin(), option->code.end(),
                                [](char c) { return std::isdigit(static_cast<unsigned char>(c)) || (c >= 'A' && c <= 'F'); }));
        if (setting->cmdType == "21") {
            // Written with their key already, so loading changed nothing.
            EXPECT_EQ(option->code.substr(0, 4), setting->pidFid);
        }
    }
}

TEST_F(BundledCatalogueTest, EveryParameterDialogKeyHasAnOptionTakingAValue)
{
    std::set<std::string> codes;
    for (const auto& [setting, option] : Options())
        codes.insert(option->code);
    const char* dialogKeys[] = {"45CE", "51C1", "51C2", "51D1", "51D2", "31C4", "3181", "3183", "3185", "3186",
                                "3187", "3188", "3189", "318A", "6182", "618A", "6188", "7181", "6482", "6481",
                                "4591", "4592", "5083", "5084"};
    for (const char* key : dialogKeys)
        EXPECT_TRUE(codes.count(std::string(key) + "0000")) << key;
    // 50 42 is a one-byte setting: its option carries one data byte.
    EXPECT_TRUE(codes.count("504200"));
}

TEST_F(BundledCatalogueTest, CustomCodeSettingIsPresent)
{
    const auto it = std::find_if(lists.treeNodes.begin(), lists.treeNodes.end(),
                                 [](const TreeNodeInfo& node) { return node.level == 2 && node.pidFid == "8265"; });
    ASSERT_NE(it, lists.treeNodes.end());
}

TEST_F(BundledCatalogueTest, EveryLengthFormOccursAndEachCodeLengthAgreesWithItsForm)
{
    std::map<int, int> forms;
    std::map<std::string, int> cmdTypes;
    for (const auto& [setting, option] : Options()) {
        const std::string& code = option->code;
        SCOPED_TRACE(code);
        ++cmdTypes[option->cmdType];
        if (option->cmdType == "23") {
            // A read request carries the key alone.
            EXPECT_EQ(code.size(), 4u);
            continue;
        }
        ASSERT_GE(code.size(), 4u);
        const int form = HexByte(code, 2) >> 6;
        ++forms[form];
        switch (form) {
        case 0: EXPECT_EQ(code.size(), 4u); break;
        case 1: EXPECT_EQ(code.size(), 6u); break;
        case 2: EXPECT_EQ(code.size(), 8u); break;
        default:
            ASSERT_GE(code.size(), 8u);
            EXPECT_EQ(code.size(), 8u + 2u * static_cast<std::size_t>(std::stoi(code.substr(4, 4), nullptr, 16)));
        }
    }
    for (int form = 0; form < 4; ++form)
        EXPECT_GT(forms[form], 0) << "form " << form;
    // Counted codes with data as well as empty ones.
    const auto options = Options();
    EXPECT_TRUE(std::any_of(options.begin(), options.end(), [](const auto& pair) {
        const std::string& code = pair.second->code;
        return code.size() > 8 && (std::stoi(code.substr(2, 2), nullptr, 16) >> 6) == 3;
    }));

    EXPECT_EQ(cmdTypes.size(), 3u);
    EXPECT_GT(cmdTypes["23"], 0);
    EXPECT_GT(cmdTypes["32"], 0);
    EXPECT_GT(cmdTypes["21"], 10 * (cmdTypes["23"] + cmdTypes["32"]));
}

TEST_F(BundledCatalogueTest, CommandSections)
{
    ASSERT_FALSE(lists.transDataCmds.empty());

    std::vector<std::string> enabledProbes;
    for (const auto& entry : lists.connectReadCmds) {
        if (entry.nodeIdFlag == 1)
            enabledProbes.push_back(entry.code);
    }
    EXPECT_EQ(enabledProbes, std::vector<std::string>{"1040"});

    std::vector<std::string> infoCodes;
    for (const auto& entry : lists.readCmds)
        infoCodes.push_back(entry.code);
    EXPECT_EQ(infoCodes, (std::vector<std::string>{"02C1", "02C2", "02C3", "02C4", "02C5", "02C6", "02C7", "02C8"}));

    ASSERT_EQ(lists.transPicCmds.size(), 1u);
    EXPECT_EQ(lists.transPicCmds[0].nodeIdFlag, 1);
}

TEST_F(BundledCatalogueTest, ReadBackEndsOnExposureSetting)
{
    // The requests in the order the read-back sends them.
    const std::set<std::string> extraKeys = {"31860000", "31870000", "31880000", "31890000", "318A0000"};
    std::vector<std::string> requests;
    for (const auto& node : lists.treeNodes) {
        std::string type = node.cmdType;
        type.erase(0, type.find_first_not_of(" \t\r\n"));
        type.erase(type.find_last_not_of(" \t\r\n") + 1);
        if (type != "21")
            continue;
        if (node.level == 2)
            requests.push_back(node.pidFid);
        else if (node.level == 3 && extraKeys.count(node.code))
            requests.push_back(node.code.substr(0, 4));
    }
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back(), "7181");
    EXPECT_EQ(std::count(requests.begin(), requests.end(), "7181"), 1);
}

}  // namespace
}  // namespace quillon
