#include "app/CommandTable.h"

#include <gtest/gtest.h>

#include <algorithm>


namespace quillon {
namespace {

using enum CommandId;

TEST(CommandTableTest, CaptionsInMenuOrder)
{
    const std::pair<CommandId, const char*> expected[] = {
        {OpenProfile, "打开配置(&O)...\tCtrl+O"}, {SaveProfile, "保存配置(&S)...\tCtrl+S"},
        {ClearDocument, "清空文档(&N)\tCtrl+N"},  {Print, "打印文档(&P)...\tCtrl+P"},
        {PrintSetup, "打印设置(&R)..."},           {Exit, "退出(&X)"},
        {Connect, "连接设备(&T)\tCtrl+T"},         {Disconnect, "断开设备(&E)\tCtrl+E"},
        {ConfigurationView, "配置界面(&G)\tCtrl+G"}, {MonitorView, "监控界面(&W)\tCtrl+W"},
        {FirmwareDownload, "固件下载(&D)\tCtrl+D"}, {DeviceVersion, "设备版本(&V)\tCtrl+V"},
        {CommandInteraction, "命令交互(&P)\tCtrl+P"}, {Undo, "撤消操作(&U)\tCtrl+U"},
        {ConvertDocument, "条码转换(&Y)\tCtrl+Y"},  {ImageExtract, "图像提取(&U)\tCtrl+U"},
        {ImageSave, "图像保存(&S)\tCtrl+S"},        {DecodedOutputSave, "解码保存(&O)\tCtrl+O"},
        {Help, "帮助文档(&C)\tCtrl+C"},             {About, "关于 Quillon(&A)..."},
    };
    const auto commands = Commands();
    ASSERT_EQ(commands.size(), std::size(expected));
    for (std::size_t i = 0; i < commands.size(); ++i) {
        EXPECT_EQ(commands[i].id, expected[i].first) << i;
        EXPECT_EQ(commands[i].caption, expected[i].second) << i;
    }
    EXPECT_EQ(static_cast<int>(CommandInteraction), 32822);
    EXPECT_EQ(static_cast<int>(MonitorView), 32779);
    // Every command has its own number, the added ones included.
    for (const CommandInfo& command : commands)
        EXPECT_EQ(std::count_if(commands.begin(), commands.end(),
                                [&](const CommandInfo& other) { return other.id == command.id; }),
                  1)
            << static_cast<int>(command.id);
}

TEST(CommandTableTest, ToolbarOrder)
{
    const CommandId expected[] = {Connect, Disconnect, MonitorView, CommandInteraction, FirmwareDownload,
                                  kToolbarSeparator, DeviceVersion, kToolbarSeparator, ClearDocument, Undo,
                                  Print, ConvertDocument, ImageExtract, ImageSave, DecodedOutputSave};
    const auto toolbar = ToolbarLayout();
    ASSERT_EQ(toolbar.size(), std::size(expected));
    for (std::size_t i = 0; i < toolbar.size(); ++i)
        EXPECT_EQ(toolbar[i], expected[i]) << i;
}

TEST(CommandTableTest, ViewSwitchMenuIsTheThirdAndHoldsTheSwitches)
{
    EXPECT_EQ(MenuTitles()[kViewSwitchMenu], "视图切换(&Q)");
    EXPECT_EQ(FindCommand(ConfigurationView).menu, kViewSwitchMenu);
    EXPECT_EQ(FindCommand(MonitorView).menu, kViewSwitchMenu);
    int inViewMenu = 0;
    for (const CommandInfo& command : Commands())
        inViewMenu += command.menu == kViewSwitchMenu;
    EXPECT_EQ(inViewMenu, 2);
    EXPECT_THROW(FindCommand(kToolbarSeparator), std::out_of_range);
}

}  // namespace
}  // namespace quillon
