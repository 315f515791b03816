#include "catalogue/CatalogueLoader.h"

#include "catalogue/CatalogueTree.h"
#include "catalogue/XmlReader.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillon {
namespace {

using Strings = std::vector<std::string>;

// One SUBITEM of a command section.
std::string Command(const std::string& name, const std::string& code, const std::string& flag)
{
    return "<SUBITEM><SUBITEM_NAME>" + name + "</SUBITEM_NAME><SUBITEM_CODE>" + code + "</SUBITEM_CODE><SUBITEM_INFO>" +
           name + "说明</SUBITEM_INFO><NODE_ID_FLAG>" + flag + "</NODE_ID_FLAG></SUBITEM>";
}
std::string Section(const std::string& tag, const std::string& subitems)
{
    return "<" + tag + "><TYPE_INFO><ITEM_INFO>" + subitems + "</ITEM_INFO></TYPE_INFO></" + tag + ">";
}
const std::pair<const char*, std::string> kSections[] = {{"CODEBAR_TRANSDATA", Command("数据", "7040", "1")},
                                                         {"CODEBAR_TRANSPIC", Command("图像", "6000", "1")},
                                                         {"CODEBAR_READ", Command("版本", "02C2", "1")},
                                                         {"CONNET_READ", Command("握手", "1040", "1")}};
// Every command section but `missing`.
std::string Sections(const std::string& missing = "")
{
    std::string out;
    for (const auto& [tag, command] : kSections)
        out += tag == missing ? "" : Section(tag, command);
    return out;
}
std::string Catalogue(const std::string& settings, const std::string& sections = Sections())
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CODEBAR_APP><CODEBAR_SET>" + settings + "</CODEBAR_SET>" +
           sections + "</CODEBAR_APP>\n";
}
std::string Option(const std::string& name, const std::string& code, const std::string& info = "")
{
    return "<SUBITEM><SUBITEM_NAME>" + name + "</SUBITEM_NAME><SUBITEM_CODE>" + code + "</SUBITEM_CODE><SUBITEM_INFO>" +
           info + "</SUBITEM_INFO></SUBITEM>";
}
std::string Setting(const std::string& name, const std::string& pidFid, const std::string& cmdType,
                    const std::string& options)
{
    return "<ITEM_INFO><ITEM_NAME>" + name + "</ITEM_NAME><PIDFID>" + pidFid + "</PIDFID><CMD_TYPE>" + cmdType +
           "</CMD_TYPE>" + options + "</ITEM_INFO>";
}
std::string SubGroup(const std::string& caption, const std::string& settings)
{
    return "<SUB_TYPE_INFO><TYPE_NAME>" + caption + "</TYPE_NAME>" + settings + "</SUB_TYPE_INFO>";
}
std::string Group(const std::string& caption, const std::string& subGroups)
{
    return "<TYPE_INFO><TYPE_NAME>" + caption + "</TYPE_NAME>" + subGroups + "</TYPE_INFO>";
}
const std::string kOneSetting = Group("组", SubGroup("", Setting("设置", "4141", "21", Option("9600", "414103"))));

class CatalogueLoaderTest : public ::testing::Test {
protected:
    int Load(const std::string& xml) { return loader.LoadCatalogue(dir.Write("config/catalogue.xml", xml)); }

    Strings Field(std::string TreeNodeInfo::*field, int level = 0) const
    {
        Strings out;
        for (const auto& node : lists.treeNodes)
            if (level == 0 || node.level == level)
                out.push_back(node.*field);
        return out;
    }

    std::string Render(const std::vector<TreeItemId>& ids) const
    {
        std::string out = "[";
        for (const TreeItemId id : ids) {
            const TreeItem& item = tree.Item(id);
            out += (out.size() > 1 ? " " : "") + item.text + " " + std::to_string(item.image) + " " +
                   std::to_string(item.selectedImage) + " " + std::to_string(item.data) + " " + Render(item.children);
        }
        return out + "]";
    }

    test::TempDir dir;
    test::RecordingPrompt prompt;
    CXmlReader reader;
    CatalogueLists lists;
    CatalogueTree tree;
    int hidden = 0;
    int resets = 0;
    CatalogueLoader loader{reader, lists, tree, prompt, CatalogueLoadHooks{[this] { ++hidden; }, [this] { ++resets; }}};
};

TEST_F(CatalogueLoaderTest, BuildsTreeAndRecordsInDocumentOrder)
{
    ASSERT_EQ(
        Load(Catalogue(Group("通讯设置", SubGroup("  串口参数\t", Setting("波特率", "4141", "21",
                                                                          Option("9600", "414103", "出厂默认") +
                                                                              Option("115200", "414107", "a &lt; b"))) +
                                             SubGroup("<![CDATA[接口]]>", Setting("接口类型", "4240", "21",
                                                                                  Option("&#x4E2D;文", "424000")))) +
                       Group("提示", SubGroup("", Setting("蜂鸣器", "6641", "21", Option("开启", "664101")))))),
        0);
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(tree.itemHeight, 20);
    // groupName, name, info, code, level, cmdType, pidFid.
    const Strings expected[] = {
        {"", "通讯设置", "", "", "1", "", ""},
        {"串口参数", "波特率", "", "", "2", "21", "4141"},
        {"串口参数", "9600", "出厂默认", "414103", "3", "21", ""},
        {"串口参数", "115200", "a < b", "414107", "3", "21", ""},
        {"接口", "接口类型", "", "", "2", "21", "4240"},
        {"接口", "中文", "", "424000", "3", "21", ""},
        {"", "提示", "", "", "1", "", ""},
        {"", "蜂鸣器", "", "", "2", "21", "6641"},
        {"", "开启", "", "664101", "3", "21", ""},
    };
    ASSERT_EQ(lists.treeNodes.size(), std::size(expected));
    for (std::size_t i = 0; i < lists.treeNodes.size(); ++i) {
        const auto& n = lists.treeNodes[i];
        EXPECT_EQ(Strings({n.groupName, n.name, n.info, n.code, std::to_string(n.level), n.cmdType, n.pidFid}),
                  expected[i]);
        ASSERT_TRUE(tree.IsValid(n.treeItem));
        EXPECT_EQ(tree.Item(n.treeItem).text, n.name);
    }
    // Text, image, selected image and data of every item: the data is the
    // record's index, 0 for a sub-group (which has no record); a blank-caption
    // sub-group hangs its settings directly under the group.
    EXPECT_EQ(
        Render(tree.Roots()),
        "[通讯设置 1 0 0 [串口参数 4 5 0 [波特率 4 5 1 [9600 2 2 2 [] 115200 2 2 3 []]] 接口 4 5 0 [接口类型 4 5 4 "
        "[中文 2 2 5 []]]] 提示 1 0 6 [蜂鸣器 4 5 7 [开启 2 2 8 []]]]");
}

TEST_F(CatalogueLoaderTest, SkipsGroupsAndSettingsWithEmptyCaptions)
{
    ASSERT_EQ(Load(Catalogue(
                  Group("", SubGroup("隐藏", Setting("不显示", "1111", "21", Option("选项", "111101")))) +
                  "<TYPE_INFO><SUB_TYPE_INFO><TYPE_NAME>无组名</TYPE_NAME>" +
                  Setting("不显示", "2222", "21", Option("选项", "222201")) + "</SUB_TYPE_INFO></TYPE_INFO>" +
                  Group("读码", SubGroup("模式", Setting("", "6141", "21", Option("手动", "614100")) +
                                                     "<ITEM_INFO><PIDFID>6142</PIDFID><CMD_TYPE>21</CMD_TYPE>" +
                                                     Option("高", "614200") + "</ITEM_INFO>" +
                                                     Setting("识读模式", "6143", "21", Option("开启", "614301")))))),
              0);
    // Only the captioned setting is left, under its sub-group.
    EXPECT_EQ(Field(&TreeNodeInfo::name), (Strings{"读码", "识读模式", "开启"}));
    EXPECT_EQ(Render(tree.Roots()), "[读码 1 0 0 [模式 4 5 0 [识读模式 4 5 1 [开启 2 2 2 []]]]]");

    // A blank group caption is not empty; a blank sub-group caption is.
    ASSERT_EQ(
        Load(Catalogue(Group(" ", SubGroup(" \r\n\t ", Setting(" 名称 ", "4141", "21", Option(" 选项 ", "414100")))))),
        0);
    EXPECT_EQ(Render(tree.Roots()), "[  1 0 0 [ 名称  4 5 1 [ 选项  2 2 2 []]]]");
    EXPECT_EQ(Field(&TreeNodeInfo::groupName), Strings(3, ""));
}

TEST_F(CatalogueLoaderTest, PidFidRuleAppliesToCommandType21Only)
{
    const std::string options = Option("a", "0100") + Option("b", "0a1b0200") + Option("c", "05");
    ASSERT_EQ(Load(Catalogue(Group("组", SubGroup("子组", Setting("二一", "0A1B", "21", options) +
                                                              Setting("二三", "0A1B", "23", options) +
                                                              Setting("三二", "0A1B", "32", options))))),
              0);
    EXPECT_EQ(Field(&TreeNodeInfo::code, 3), (Strings{"0A1B0100", "0a1b0200", "0a1b05", "0100", "0a1b0200", "05",  //
                                                      "0100", "0a1b0200", "05"}));
    EXPECT_EQ(Field(&TreeNodeInfo::pidFid, 2), Strings(3, "0A1B"));  // the setting keeps its key as written
    EXPECT_EQ(Field(&TreeNodeInfo::cmdType, 2), (Strings{"21", "23", "32"}));
}

TEST_F(CatalogueLoaderTest, CodeFieldsOfAPrettyPrintedFileAreTrimmedNamesAreNot)
{
    const std::string pad = "\n        ";
    const auto padded = [&](const std::string& text) { return pad + text + pad; };
    const std::string options =
        Option(padded("一百"), padded("0100"), padded("说明")) + Option(" 二 ", padded("0a1b0200"));
    const std::string sections = Section("CODEBAR_TRANSDATA", Command("数据", padded("7040"), "1")) +
                                 Section("CODEBAR_TRANSPIC", Command("图像", " 6000\t", "1")) +
                                 Section("CODEBAR_READ", Command("版本", padded("02C2"), padded("1"))) +
                                 Section("CONNET_READ", Command("握手", "\r\n1040\r\n", "1"));
    ASSERT_EQ(
        Load(Catalogue(Group("组", SubGroup("子组", Setting(" 二一 ", padded("0A1B"), padded("21"), options) +
                                                        Setting("三二", " 3141 ", padded("32"), Option("值", " 05 ")))),
                       sections)),
        0);
    EXPECT_EQ(Field(&TreeNodeInfo::code, 3), (Strings{"0A1B0100", "0a1b0200", "05"})) << "the PIDFID rule applies";
    EXPECT_EQ(Field(&TreeNodeInfo::pidFid, 2), (Strings{"0A1B", "3141"}));
    EXPECT_EQ(Field(&TreeNodeInfo::cmdType, 2), (Strings{"21", "32"}));
    EXPECT_EQ(Field(&TreeNodeInfo::cmdType, 3), (Strings{"21", "21", "32"}));
    EXPECT_EQ(Field(&TreeNodeInfo::name), (Strings{"组", " 二一 ", padded("一百"), " 二 ", "三二", "值"}));
    EXPECT_EQ(Field(&TreeNodeInfo::info, 3), (Strings{padded("说明"), "", ""}));
    const auto code = [](const std::vector<CmdNodeInfo>& list) { return list.at(0).code; };
    EXPECT_EQ((Strings{code(lists.transDataCmds), code(lists.transPicCmds), code(lists.readCmds),
                       code(lists.connectReadCmds)}),
              (Strings{"7040", "6000", "02C2", "1040"}));
    EXPECT_EQ(lists.readCmds.at(0).nodeIdFlag, 1);
}

TEST_F(CatalogueLoaderTest, MissingOrMisplacedChildTakesTextOfChildFoundLast)
{
    const std::string setting =
        "<ITEM_INFO><ITEM_NAME>设置</ITEM_NAME><PIDFID>3141</PIDFID><CMD_TYPE>23</CMD_TYPE>"
        // no SUBITEM_CODE: the code is the name
        "<SUBITEM><SUBITEM_NAME>无代码</SUBITEM_NAME><SUBITEM_INFO>说明一</SUBITEM_INFO></SUBITEM>"
        // INFO before CODE: once CODE is found, INFO is not found after it
        "<SUBITEM><SUBITEM_NAME>乱序</SUBITEM_NAME><SUBITEM_INFO>说明二</SUBITEM_INFO>"
        "<SUBITEM_CODE>314101</SUBITEM_CODE></SUBITEM>"
        // nothing found before INFO: name and code empty, still an option
        "<SUBITEM><OTHER>x</OTHER><SUBITEM_INFO>说明三</SUBITEM_INFO></SUBITEM></ITEM_INFO>"
        // CMD_TYPE missing: the text of PIDFID, found last, stands in, and
        // the PIDFID rule applies to the option
        "<ITEM_INFO><ITEM_NAME>无类型</ITEM_NAME><PIDFID>21</PIDFID>" +
        Option("选项", "05") + "</ITEM_INFO>";
    ASSERT_EQ(Load(Catalogue(Group("组", SubGroup("", setting)))), 0);
    EXPECT_EQ(Field(&TreeNodeInfo::name, 3), (Strings{"无代码", "乱序", "", "选项"}));
    EXPECT_EQ(Field(&TreeNodeInfo::code, 3), (Strings{"无代码", "314101", "", "2105"}));
    EXPECT_EQ(Field(&TreeNodeInfo::info, 3), (Strings{"说明一", "314101", "说明三", ""}));
    EXPECT_EQ(Field(&TreeNodeInfo::cmdType, 2), (Strings{"23", "21"}));
}

TEST_F(CatalogueLoaderTest, CommandSectionsFillTheirListsWithConvertedFlags)
{
    const std::string sections =
        // sections in another order than they are loaded
        Section("CONNET_READ", Command("握手", "1040", "1") + Command("旧握手", "1041", "0")) +
        Section("CODEBAR_READ", Command("版本", "02C2", " 1") + Command("序列号", "02C5", "1号")) +
        "<CODEBAR_TRANSPIC><TYPE_INFO><ITEM_INFO>" + Command("图像", "6000", "无") + "</ITEM_INFO><ITEM_INFO>" +
        Command("大图", "6001", "-2") +
        "</ITEM_INFO></TYPE_INFO><TYPE_INFO><ITEM_INFO>"
        // NODE_ID_FLAG missing: the INFO text, found last, is converted
        +
        "<SUBITEM><SUBITEM_NAME>缺标志</SUBITEM_NAME><SUBITEM_CODE>6002</SUBITEM_CODE><SUBITEM_INFO>3路</SUBITEM_INFO>"
        "</SUBITEM></ITEM_INFO></TYPE_INFO></CODEBAR_TRANSPIC>" +
        Section("CODEBAR_TRANSDATA", Command("数据", "7040", "1"));
    ASSERT_EQ(Load(Catalogue("", sections)), 0);
    EXPECT_TRUE(lists.treeNodes.empty());
    EXPECT_EQ(tree.Size(), 0u);
    auto summary = [](const std::vector<CmdNodeInfo>& list) {
        Strings out;
        for (const auto& e : list)
            out.push_back(e.name + "|" + e.code + "|" + e.info + "|" + std::to_string(e.nodeIdFlag));
        return out;
    };
    EXPECT_EQ(summary(lists.connectReadCmds), (Strings{"握手|1040|握手说明|1", "旧握手|1041|旧握手说明|0"}));
    EXPECT_EQ(summary(lists.readCmds), (Strings{"版本|02C2|版本说明|1", "序列号|02C5|序列号说明|1"}));
    EXPECT_EQ(summary(lists.transPicCmds),
              (Strings{"图像|6000|图像说明|0", "大图|6001|大图说明|-2", "缺标志|6002|3路|3"}));
    EXPECT_EQ(summary(lists.transDataCmds), (Strings{"数据|7040|数据说明|1"}));
}

TEST_F(CatalogueLoaderTest, MissingCommandSectionStopsLoadingThere)
{
    const std::pair<const char*, std::vector<std::size_t>> cases[] = {
        {"CONNET_READ", {1, 1, 1, 0}},
        {"CODEBAR_READ", {1, 1, 0, 0}},
        {"CODEBAR_TRANSPIC", {1, 0, 0, 0}},
        {"CODEBAR_TRANSDATA", {0, 0, 0, 0}},
    };
    for (const auto& [missing, sizes] : cases) {
        SCOPED_TRACE(missing);
        EXPECT_EQ(Load(Catalogue(kOneSetting, Sections(missing))), -1);
        EXPECT_TRUE(prompt.shown.empty());
        EXPECT_EQ(lists.treeNodes.size(), 3u);  // the settings stay loaded
        EXPECT_EQ((std::vector<std::size_t>{lists.transDataCmds.size(), lists.transPicCmds.size(),
                                            lists.readCmds.size(), lists.connectReadCmds.size()}),
                  sizes);
    }
}

TEST_F(CatalogueLoaderTest, SectionsAreLookedUpUnderTheFirstCodebarApp)
{
    // Without CODEBAR_SET, groups directly under the root are loaded.
    ASSERT_EQ(Load("<CODEBAR_APP>" + kOneSetting + Sections() + "</CODEBAR_APP>"), 0);
    EXPECT_EQ(Field(&TreeNodeInfo::name), (Strings{"组", "设置", "9600"}));
    EXPECT_EQ(lists.connectReadCmds.size(), 1u);

    // Only the first settings section and the first of each command section.
    ASSERT_EQ(Load("<CODEBAR_APP><CODEBAR_SET>" + Group("第一", "") + "</CODEBAR_SET><CODEBAR_SET>" +
                   Group("第二", "") + "</CODEBAR_SET>" + Sections() +
                   Section("CONNET_READ", Command("第二握手", "1041", "1")) + "<OTHER>忽略</OTHER></CODEBAR_APP>"),
              0);
    EXPECT_EQ(Field(&TreeNodeInfo::name), (Strings{"第一"}));
    ASSERT_EQ(lists.connectReadCmds.size(), 1u);
    EXPECT_EQ(lists.connectReadCmds[0].code, "1040");

    // Another root: nothing, silently.
    ASSERT_EQ(Load("<OTHER_APP><CODEBAR_SET>" + Group("组", "") + "</CODEBAR_SET>" + Sections() + "</OTHER_APP>"), -1);
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(tree.Size(), 0u);
    EXPECT_TRUE(lists.treeNodes.empty() && lists.transDataCmds.empty() && lists.connectReadCmds.empty());
}

TEST_F(CatalogueLoaderTest, UnreadableOrBrokenFileIsReportedAndLeavesEverythingAsItWas)
{
    EXPECT_EQ(Load("<CODEBAR_APP>"), -1);  // the first load: everything stays empty
    EXPECT_EQ(prompt.Texts(), Strings{"配置文件设置错误，无法完成初始化！"});
    EXPECT_EQ(prompt.shown.at(0).kind, test::RecordingPrompt::Shown::Error);
    EXPECT_EQ(tree.Size(), 0u);
    EXPECT_TRUE(lists.treeNodes.empty() && lists.readCmds.empty());

    ASSERT_EQ(Load(Catalogue(kOneSetting)), 0);
    const std::string broken[] = {
        "<CODEBAR_APP><CODEBAR_SET></CODEBAR_APP>",  // end tag does not match
        "",                                          // empty file
        "<CODEBAR_APP/><CODEBAR_APP/>",              // two roots
    };
    for (const auto& xml : broken) {
        SCOPED_TRACE(xml);
        prompt.shown.clear();
        EXPECT_EQ(Load(xml), -1);
        EXPECT_EQ(prompt.Texts(), Strings{"配置文件设置错误，无法完成初始化！"});
        EXPECT_EQ(lists.treeNodes.size(), 3u);
        EXPECT_EQ(lists.connectReadCmds.size(), 1u);
        EXPECT_EQ(tree.Size(), 3u);
    }
    prompt.shown.clear();
    EXPECT_EQ(loader.LoadCatalogue((dir.Path() / "config/missing.xml").string()), -1);
    EXPECT_EQ(prompt.Texts(), Strings{"配置文件设置错误，无法完成初始化！"});
    EXPECT_EQ(lists.treeNodes.size(), 3u);
}

TEST_F(CatalogueLoaderTest, ReloadRebuildsFromScratchAndRunsHooks)
{
    const std::string xml =
        Catalogue(Group("组", SubGroup("子组", Setting("设置", "4141", "21", Option("9600", "414103")))));
    ASSERT_EQ(Load(xml), 0);
    EXPECT_EQ(std::pair(hidden, resets), std::pair(1, 1));
    tree.SetItemText(lists.treeNodes[2].treeItem, "9600*");  // a mark from the device
    ASSERT_EQ(Load(xml), 0);
    EXPECT_EQ(lists.treeNodes.size(), 3u);
    EXPECT_EQ(lists.connectReadCmds.size(), 1u);
    EXPECT_EQ(tree.Size(), 4u);
    EXPECT_EQ(tree.Item(lists.treeNodes[2].treeItem).text, "9600");
    EXPECT_EQ(std::pair(hidden, resets), std::pair(2, 2));
    // A broken file still hides the code box, but the gesture is not touched.
    EXPECT_EQ(Load("<CODEBAR_APP>"), -1);
    EXPECT_EQ(std::pair(hidden, resets), std::pair(3, 2));

    CatalogueLoader plain(reader, lists, tree, prompt);  // without hooks
    EXPECT_EQ(plain.LoadCatalogue(dir.Write("plain.xml", xml)), 0);
    EXPECT_EQ(plain.LoadCatalogue(dir.Write("broken.xml", "<a>")), -1);
}

}  // namespace
}  // namespace quillon
