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

// One SUBITEM of a command section.
std::string Command(const std::string& name, const std::string& code, const std::string& flag)
{
    return "<SUBITEM><SUBITEM_NAME>" + name + "</SUBITEM_NAME><SUBITEM_CODE>" + code
           + "</SUBITEM_CODE><SUBITEM_INFO>" + name + "说明</SUBITEM_INFO><NODE_ID_FLAG>" + flag
           + "</NODE_ID_FLAG></SUBITEM>";
}

std::string Section(const std::string& tag, const std::string& subitems)
{
    return "<" + tag + "><TYPE_INFO><ITEM_INFO>" + subitems + "</ITEM_INFO></TYPE_INFO></" + tag + ">";
}

const std::string kAllCommandSections = Section("CODEBAR_TRANSDATA", Command("数据", "7040", "1"))
                                        + Section("CODEBAR_TRANSPIC", Command("图像", "6000", "1"))
                                        + Section("CODEBAR_READ", Command("版本", "02C2", "1"))
                                        + Section("CONNET_READ", Command("握手", "1040", "1"));

std::string Catalogue(const std::string& settings, const std::string& sections = kAllCommandSections)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CODEBAR_APP><CODEBAR_SET>" + settings
           + "</CODEBAR_SET>" + sections + "</CODEBAR_APP>\n";
}

std::string Option(const std::string& name, const std::string& code, const std::string& info = "")
{
    return "<SUBITEM><SUBITEM_NAME>" + name + "</SUBITEM_NAME><SUBITEM_CODE>" + code
           + "</SUBITEM_CODE><SUBITEM_INFO>" + info + "</SUBITEM_INFO></SUBITEM>";
}

std::string Setting(const std::string& name, const std::string& pidFid, const std::string& cmdType,
                    const std::string& options)
{
    return "<ITEM_INFO><ITEM_NAME>" + name + "</ITEM_NAME><PIDFID>" + pidFid + "</PIDFID><CMD_TYPE>" + cmdType
           + "</CMD_TYPE>" + options + "</ITEM_INFO>";
}

std::string SubGroup(const std::string& caption, const std::string& settings)
{
    return "<SUB_TYPE_INFO><TYPE_NAME>" + caption + "</TYPE_NAME>" + settings + "</SUB_TYPE_INFO>";
}

std::string Group(const std::string& caption, const std::string& subGroups)
{
    return "<TYPE_INFO><TYPE_NAME>" + caption + "</TYPE_NAME>" + subGroups + "</TYPE_INFO>";
}

class CatalogueLoaderTest : public ::testing::Test {
protected:
    int Load(const std::string& xml)
    {
        return loader.LoadCatalogue(dir.Write("config/catalogue.xml", xml));
    }

    std::vector<std::string> Codes() const
    {
        std::vector<std::string> codes;
        for (const auto& node : lists.treeNodes) {
            if (node.level == 3)
                codes.push_back(node.code);
        }
        return codes;
    }

    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& node : lists.treeNodes)
            names.push_back(node.name);
        return names;
    }

    test::TempDir dir;
    test::RecordingPrompt prompt;
    CXmlReader reader;
    CatalogueLists lists;
    CatalogueTree tree;
    int hidden = 0;
    int resets = 0;
    CatalogueLoader loader{reader, lists, tree, prompt,
                           CatalogueLoadHooks{[this] { ++hidden; }, [this] { ++resets; }}};
};

TEST_F(CatalogueLoaderTest, BuildsTreeAndRecordsInDocumentOrder)
{
    ASSERT_EQ(Load(Catalogue(Group("通讯设置",
                                   SubGroup("  串口参数\t",
                                            Setting("波特率", "4141", "21",
                                                    Option("9600", "414103", "出厂默认")
                                                        + Option("115200", "414107", "最高速率")))
                                       + SubGroup("接口", Setting("接口类型", "4240", "21", Option("串口", "424000"))))
                             + Group("提示", SubGroup("", Setting("蜂鸣器", "6641", "21", Option("开启", "664101")))))),
              0);
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(tree.itemHeight, 20);

    ASSERT_EQ(lists.treeNodes.size(), 9u);
    const struct {
        const char* groupName;
        const char* name;
        const char* info;
        const char* code;
        int level;
        const char* cmdType;
        const char* pidFid;
    } expected[] = {
        {"", "通讯设置", "", "", 1, "", ""},
        {"串口参数", "波特率", "", "", 2, "21", "4141"},
        {"串口参数", "9600", "出厂默认", "414103", 3, "21", ""},
        {"串口参数", "115200", "最高速率", "414107", 3, "21", ""},
        {"接口", "接口类型", "", "", 2, "21", "4240"},
        {"接口", "串口", "", "424000", 3, "21", ""},
        {"", "提示", "", "", 1, "", ""},
        {"", "蜂鸣器", "", "", 2, "21", "6641"},
        {"", "开启", "", "664101", 3, "21", ""},
    };
    for (std::size_t i = 0; i < lists.treeNodes.size(); ++i) {
        const auto& node = lists.treeNodes[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(node.groupName, expected[i].groupName);
        EXPECT_EQ(node.name, expected[i].name);
        EXPECT_EQ(node.info, expected[i].info);
        EXPECT_EQ(node.code, expected[i].code);
        EXPECT_EQ(node.level, expected[i].level);
        EXPECT_EQ(node.cmdType, expected[i].cmdType);
        EXPECT_EQ(node.pidFid, expected[i].pidFid);
        // Each record names its item and the item carries the record's index.
        ASSERT_TRUE(tree.IsValid(node.treeItem));
        EXPECT_EQ(tree.Item(node.treeItem).data, static_cast<int>(i));
        EXPECT_EQ(tree.Item(node.treeItem).text, node.name);
    }

    // Shape and images: group, sub-group, setting, option.
    ASSERT_EQ(tree.Roots().size(), 2u);
    const TreeItem& group = tree.Item(tree.Roots()[0]);
    EXPECT_EQ(group.image, kImageGroup);
    EXPECT_EQ(group.selectedImage, kImageGroupSelected);
    ASSERT_EQ(group.children.size(), 2u);
    const TreeItem& subGroup = tree.Item(group.children[0]);
    EXPECT_EQ(subGroup.text, "串口参数");
    EXPECT_EQ(subGroup.image, kImageSetting);
    EXPECT_EQ(subGroup.selectedImage, kImageSettingSelected);
    EXPECT_EQ(subGroup.data, 0);  // no record: it stands for the first group record
    ASSERT_EQ(subGroup.children.size(), 1u);
    const TreeItem& setting = tree.Item(subGroup.children[0]);
    EXPECT_EQ(setting.image, kImageSetting);
    EXPECT_EQ(setting.selectedImage, kImageSettingSelected);
    ASSERT_EQ(setting.children.size(), 2u);
    EXPECT_EQ(tree.Item(setting.children[1]).text, "115200");
    EXPECT_EQ(tree.Item(setting.children[1]).image, kImageOption);
    EXPECT_EQ(tree.Item(setting.children[1]).selectedImage, kImageOption);
    // A blank-caption sub-group hangs its settings directly under the group.
    const TreeItem& second = tree.Item(tree.Roots()[1]);
    ASSERT_EQ(second.children.size(), 1u);
    EXPECT_EQ(tree.Item(second.children[0]).text, "蜂鸣器");

    EXPECT_EQ(tree.Size(), 11u);  // nine records and two captioned sub-groups
}

TEST_F(CatalogueLoaderTest, SkipsGroupsAndSettingsWithEmptyCaptions)
{
    ASSERT_EQ(Load(Catalogue(
                  Group("", SubGroup("隐藏", Setting("不显示", "1111", "21", Option("选项", "111101"))))
                  + "<TYPE_INFO><SUB_TYPE_INFO><TYPE_NAME>无组名</TYPE_NAME>"
                    + Setting("不显示", "2222", "21", Option("选项", "222201")) + "</SUB_TYPE_INFO></TYPE_INFO>"
                  + Group("读码",
                          SubGroup("模式", Setting("", "6141", "21", Option("手动", "614100"))
                                               + "<ITEM_INFO><PIDFID>6142</PIDFID><CMD_TYPE>21</CMD_TYPE>"
                                               + Option("高", "614200") + "</ITEM_INFO>"
                                               + Setting("识读模式", "6143", "21", Option("开启", "614301")))))),
              0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"读码", "识读模式", "开启"}));
    // The sub-group whose settings all vanished still has its item.
    ASSERT_EQ(tree.Roots().size(), 1u);
    const TreeItem& subGroup = tree.Item(tree.Item(tree.Roots()[0]).children.at(0));
    EXPECT_EQ(subGroup.text, "模式");
    ASSERT_EQ(subGroup.children.size(), 1u);
    EXPECT_EQ(tree.Item(subGroup.children[0]).text, "识读模式");
}

TEST_F(CatalogueLoaderTest, GroupCaptionIsTakenAsWrittenSubGroupCaptionTrimmed)
{
    ASSERT_EQ(Load(Catalogue(Group(" ", SubGroup(" \r\n\t ", Setting(" 名称 ", "4141", "21", Option(" 选项 ", "414100")))))),
              0);
    ASSERT_EQ(lists.treeNodes.size(), 3u);
    EXPECT_EQ(lists.treeNodes[0].name, " ");  // a blank group caption is not empty
    EXPECT_EQ(lists.treeNodes[1].name, " 名称 ");
    EXPECT_EQ(lists.treeNodes[1].groupName, "");
    EXPECT_EQ(lists.treeNodes[2].name, " 选项 ");
    EXPECT_EQ(tree.Item(tree.Roots()[0]).children.size(), 1u);
}

TEST_F(CatalogueLoaderTest, PidFidRuleAppliesToCommandType21Only)
{
    const std::string options = Option("a", "0100") + Option("b", "0a1b0200") + Option("c", "05");
    ASSERT_EQ(Load(Catalogue(Group("组", SubGroup("子组", Setting("二一", "0A1B", "21", options)
                                                              + Setting("二三", "0A1B", "23", options)
                                                              + Setting("三二", "0A1B", "32", options)
                                                              + Setting("带空格", "0A1B", " 21", options))))),
              0);
    EXPECT_EQ(Codes(), (std::vector<std::string>{"0A1B0100", "0a1b0200", "0a1b05",  //
                                                 "0100", "0a1b0200", "05",          //
                                                 "0100", "0a1b0200", "05",          //
                                                 "0100", "0a1b0200", "05"}));
    // The setting record keeps its key as written.
    EXPECT_EQ(lists.treeNodes[1].pidFid, "0A1B");
    EXPECT_EQ(lists.treeNodes[2].cmdType, "21");
    EXPECT_EQ(lists.treeNodes[6].cmdType, "23");
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
        // nothing found before INFO: name and code empty
        "<SUBITEM><OTHER>x</OTHER><SUBITEM_INFO>说明三</SUBITEM_INFO></SUBITEM>"
        // an empty option caption still gives an option
        "<SUBITEM><SUBITEM_NAME></SUBITEM_NAME><SUBITEM_CODE>314100</SUBITEM_CODE><SUBITEM_INFO>说明四</SUBITEM_INFO></SUBITEM>"
        "</ITEM_INFO>";
    ASSERT_EQ(Load(Catalogue(Group("组", SubGroup("", setting)))), 0);
    ASSERT_EQ(lists.treeNodes.size(), 6u);
    const struct {
        const char* name;
        const char* code;
        const char* info;
    } expected[] = {
        {"无代码", "无代码", "说明一"},
        {"乱序", "314101", "314101"},
        {"", "", "说明三"},
        {"", "314100", "说明四"},
    };
    for (std::size_t i = 0; i < 4; ++i) {
        const auto& option = lists.treeNodes[i + 2];
        SCOPED_TRACE(i);
        EXPECT_EQ(option.level, 3);
        EXPECT_EQ(option.name, expected[i].name);
        EXPECT_EQ(option.code, expected[i].code);
        EXPECT_EQ(option.info, expected[i].info);
    }
}

TEST_F(CatalogueLoaderTest, SettingWithoutCommandTypeTakesKeyAsCommandType)
{
    // CMD_TYPE missing: the text of PIDFID, found last, stands in; the PIDFID
    // rule then does not apply.
    ASSERT_EQ(Load(Catalogue(Group("组", SubGroup("", "<ITEM_INFO><ITEM_NAME>设置</ITEM_NAME><PIDFID>21</PIDFID>"
                                                      + Option("选项", "05") + "</ITEM_INFO>")))),
              0);
    ASSERT_EQ(lists.treeNodes.size(), 3u);
    EXPECT_EQ(lists.treeNodes[1].cmdType, "21");
    EXPECT_EQ(lists.treeNodes[2].code, "2105");
}

TEST_F(CatalogueLoaderTest, CommandSectionsFillTheirListsWithConvertedFlags)
{
    const std::string sections =
        // sections in another order than they are loaded
        Section("CONNET_READ", Command("握手", "1040", "1") + Command("旧握手", "1041", "0"))
        + Section("CODEBAR_READ", Command("版本", "02C2", " 1") + Command("序列号", "02C5", "1号"))
        + "<CODEBAR_TRANSPIC><TYPE_INFO><ITEM_INFO>" + Command("图像", "6000", "无") + "</ITEM_INFO><ITEM_INFO>"
        + Command("大图", "6001", "-2") + "</ITEM_INFO></TYPE_INFO><TYPE_INFO><ITEM_INFO>"
        // NODE_ID_FLAG missing: the INFO text, found last, is converted
        + "<SUBITEM><SUBITEM_NAME>缺标志</SUBITEM_NAME><SUBITEM_CODE>6002</SUBITEM_CODE>"
          "<SUBITEM_INFO>3路</SUBITEM_INFO></SUBITEM>"
        + "</ITEM_INFO></TYPE_INFO></CODEBAR_TRANSPIC>" + Section("CODEBAR_TRANSDATA", Command("数据", "7040", "1"));
    ASSERT_EQ(Load(Catalogue("", sections)), 0);
    EXPECT_TRUE(lists.treeNodes.empty());
    EXPECT_EQ(tree.Size(), 0u);

    ASSERT_EQ(lists.connectReadCmds.size(), 2u);
    EXPECT_EQ(lists.connectReadCmds[0].name, "握手");
    EXPECT_EQ(lists.connectReadCmds[0].code, "1040");
    EXPECT_EQ(lists.connectReadCmds[0].info, "握手说明");
    EXPECT_EQ(lists.connectReadCmds[0].nodeIdFlag, 1);
    EXPECT_EQ(lists.connectReadCmds[1].nodeIdFlag, 0);
    ASSERT_EQ(lists.readCmds.size(), 2u);
    EXPECT_EQ(lists.readCmds[0].nodeIdFlag, 1);
    EXPECT_EQ(lists.readCmds[1].nodeIdFlag, 1);
    ASSERT_EQ(lists.transPicCmds.size(), 3u);
    EXPECT_EQ(lists.transPicCmds[0].nodeIdFlag, 0);
    EXPECT_EQ(lists.transPicCmds[1].code, "6001");
    EXPECT_EQ(lists.transPicCmds[1].nodeIdFlag, -2);
    EXPECT_EQ(lists.transPicCmds[2].code, "6002");
    EXPECT_EQ(lists.transPicCmds[2].nodeIdFlag, 3);
    ASSERT_EQ(lists.transDataCmds.size(), 1u);
    EXPECT_EQ(lists.transDataCmds[0].code, "7040");
}

TEST_F(CatalogueLoaderTest, MissingCommandSectionStopsLoadingThere)
{
    const struct {
        const char* missing;
        std::size_t transData, transPic, read, connect;
    } cases[] = {
        {"CONNET_READ", 1, 1, 1, 0},
        {"CODEBAR_READ", 1, 1, 0, 0},
        {"CODEBAR_TRANSPIC", 1, 0, 0, 0},
        {"CODEBAR_TRANSDATA", 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.missing);
        std::string sections;
        for (const auto& [tag, command] : {std::pair{"CODEBAR_TRANSDATA", Command("数据", "7040", "1")},
                                           std::pair{"CODEBAR_TRANSPIC", Command("图像", "6000", "1")},
                                           std::pair{"CODEBAR_READ", Command("版本", "02C2", "1")},
                                           std::pair{"CONNET_READ", Command("握手", "1040", "1")}}) {
            if (std::string(tag) != c.missing)
                sections += Section(tag, command);
        }
        EXPECT_EQ(Load(Catalogue(Group("组", SubGroup("", Setting("设置", "4141", "21", Option("选项", "414100")))),
                                 sections)),
                  -1);
        EXPECT_TRUE(prompt.shown.empty());
        EXPECT_EQ(lists.treeNodes.size(), 3u);  // the settings stay loaded
        EXPECT_EQ(lists.transDataCmds.size(), c.transData);
        EXPECT_EQ(lists.transPicCmds.size(), c.transPic);
        EXPECT_EQ(lists.readCmds.size(), c.read);
        EXPECT_EQ(lists.connectReadCmds.size(), c.connect);
    }
}

TEST_F(CatalogueLoaderTest, WithoutSettingsSectionGroupsDirectlyUnderRootAreLoaded)
{
    const std::string xml = "<CODEBAR_APP>" + Group("直接分组", SubGroup("", Setting("设置", "4141", "21", Option("9600", "03"))))
                            + kAllCommandSections + "</CODEBAR_APP>";
    ASSERT_EQ(Load(xml), 0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"直接分组", "设置", "9600"}));
    EXPECT_EQ(Codes(), (std::vector<std::string>{"414103"}));
    EXPECT_EQ(lists.connectReadCmds.size(), 1u);
}

TEST_F(CatalogueLoaderTest, OnlyFirstSettingsSectionAndFirstCommandSectionAreRead)
{
    const std::string xml =
        "<CODEBAR_APP><CODEBAR_SET>" + Group("第一", "") + "</CODEBAR_SET><CODEBAR_SET>" + Group("第二", "")
        + "</CODEBAR_SET>" + kAllCommandSections + Section("CONNET_READ", Command("第二握手", "1041", "1"))
        + "<OTHER>忽略</OTHER></CODEBAR_APP>";
    ASSERT_EQ(Load(xml), 0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"第一"}));
    ASSERT_EQ(lists.connectReadCmds.size(), 1u);
    EXPECT_EQ(lists.connectReadCmds[0].code, "1040");
}

TEST_F(CatalogueLoaderTest, WithoutRootElementNamedCodebarAppNothingIsLoaded)
{
    ASSERT_EQ(Load("<OTHER_APP><CODEBAR_SET>" + Group("组", "") + "</CODEBAR_SET>" + kAllCommandSections
                   + "</OTHER_APP>"),
              -1);
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(tree.Size(), 0u);
    EXPECT_TRUE(lists.treeNodes.empty());
    EXPECT_TRUE(lists.transDataCmds.empty());
    EXPECT_TRUE(lists.connectReadCmds.empty());
}

TEST_F(CatalogueLoaderTest, UnreadableOrBrokenFileIsReportedAndLeavesEverythingAsItWas)
{
    ASSERT_EQ(Load(Catalogue(Group("组", SubGroup("", Setting("设置", "4141", "21", Option("9600", "414103")))))), 0);
    const auto nodesBefore = lists.treeNodes.size();
    const auto itemsBefore = tree.Size();
    ASSERT_EQ(nodesBefore, 3u);

    const std::string broken[] = {
        "<CODEBAR_APP><CODEBAR_SET></CODEBAR_APP>",  // end tag does not match
        "<CODEBAR_APP>",                            // never ended
        "",                                         // empty file
        "<CODEBAR_APP/><CODEBAR_APP/>",             // two roots
    };
    for (const auto& xml : broken) {
        SCOPED_TRACE(xml);
        prompt.shown.clear();
        EXPECT_EQ(Load(xml), -1);
        EXPECT_EQ(prompt.Texts(), std::vector<std::string>{"配置文件设置错误，无法完成初始化！"});
        EXPECT_EQ(prompt.shown.at(0).kind, test::RecordingPrompt::Shown::Error);
        EXPECT_EQ(lists.treeNodes.size(), nodesBefore);
        EXPECT_EQ(lists.connectReadCmds.size(), 1u);
        EXPECT_EQ(tree.Size(), itemsBefore);
    }

    prompt.shown.clear();
    EXPECT_EQ(loader.LoadCatalogue((dir.Path() / "config/missing.xml").string()), -1);
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>{"配置文件设置错误，无法完成初始化！"});
    EXPECT_EQ(lists.treeNodes.size(), nodesBefore);
}

TEST_F(CatalogueLoaderTest, FirstLoadOfBrokenFileLeavesTreeAndListsEmpty)
{
    EXPECT_EQ(Load("<CODEBAR_APP>"), -1);
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>{"配置文件设置错误，无法完成初始化！"});
    EXPECT_EQ(tree.Size(), 0u);
    EXPECT_TRUE(lists.treeNodes.empty());
    EXPECT_TRUE(lists.readCmds.empty());
}

TEST_F(CatalogueLoaderTest, ReloadRebuildsFromScratchAndRunsHooks)
{
    const std::string xml = Catalogue(Group("组", SubGroup("子组", Setting("设置", "4141", "21", Option("9600", "414103")))));
    ASSERT_EQ(Load(xml), 0);
    EXPECT_EQ(hidden, 1);
    EXPECT_EQ(resets, 1);
    tree.SetItemText(lists.treeNodes[2].treeItem, "9600*");  // a mark from the device
    ASSERT_EQ(Load(xml), 0);
    EXPECT_EQ(lists.treeNodes.size(), 3u);
    EXPECT_EQ(lists.connectReadCmds.size(), 1u);
    EXPECT_EQ(tree.Size(), 4u);
    EXPECT_EQ(tree.Item(lists.treeNodes[2].treeItem).text, "9600");
    EXPECT_EQ(hidden, 2);
    EXPECT_EQ(resets, 2);

    // A broken file still hides the code box, but the gesture is not touched.
    EXPECT_EQ(Load("<CODEBAR_APP>"), -1);
    EXPECT_EQ(hidden, 3);
    EXPECT_EQ(resets, 2);
}

TEST_F(CatalogueLoaderTest, LoadsWithoutHooks)
{
    CXmlReader otherReader;
    CatalogueLists otherLists;
    CatalogueTree otherTree;
    CatalogueLoader plain(otherReader, otherLists, otherTree, prompt);
    EXPECT_EQ(plain.LoadCatalogue(dir.Write("plain.xml", Catalogue(Group("组", "")))), 0);
    EXPECT_EQ(otherLists.treeNodes.size(), 1u);
    EXPECT_EQ(plain.LoadCatalogue(dir.Write("broken.xml", "<a>")), -1);
}

TEST_F(CatalogueLoaderTest, TextIsDecodedToUtf8)
{
    ASSERT_EQ(Load(Catalogue(Group("前缀 &amp; 后缀", SubGroup("<![CDATA[数据<编辑>]]>",
                                                          Setting("设置", "5145", "21",
                                                                  Option("&#x4E2D;文", "514500", "a &lt; b")))))),
              0);
    ASSERT_EQ(lists.treeNodes.size(), 3u);
    EXPECT_EQ(lists.treeNodes[0].name, "前缀 & 后缀");
    EXPECT_EQ(lists.treeNodes[1].groupName, "数据<编辑>");
    EXPECT_EQ(lists.treeNodes[2].name, "中文");
    EXPECT_EQ(lists.treeNodes[2].info, "a < b");
}

}  // namespace
}  // namespace quillon
