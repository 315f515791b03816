#include "app/CommandTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

namespace quillon {
namespace {

using enum CommandId;

// The captions are checked in the window's menus, as the operator sees them.
TEST(CommandTableTest, CommandNumbers)
{
    const auto commands = Commands();
    EXPECT_EQ(static_cast<int>(CommandInteraction), 32822);
    EXPECT_EQ(static_cast<int>(MonitorView), 32779);
    // Every command has its own number, the added ones included.
    for (const CommandInfo& command : commands)
        EXPECT_EQ(std::count_if(commands.begin(), commands.end(),
                                [&](const CommandInfo& other) { return other.id == command.id; }),
                  1)
            << static_cast<int>(command.id);
}

TEST(CommandTableTest, EveryShownKeyRunsTheCommandTheViewEnables)
{
    ViewModeState configuration, monitor;
    monitor.EnterMonitorView();
    const struct {
        const char* key;
        std::optional<CommandId> configuration, monitor;
    } keys[] = {
        {"Ctrl+N", ClearDocument, ClearDocument},
        {"Ctrl+P", StandardPrint, CommandInteraction},  // printing keeps it where it is enabled
        {"Ctrl+Z", Undo, std::nullopt},
        {"Alt+Backspace", Undo, std::nullopt},
        {"Ctrl+U", Undo, ImageExtract},
        {"Ctrl+O", OpenProfile, DecodedOutputSave},
        {"Ctrl+S", SaveProfile, ImageSave},
        {"Ctrl+T", Connect, Connect},
        {"Ctrl+E", Disconnect, Disconnect},
        {"Ctrl+G", ConfigurationView, ConfigurationView},
        {"Ctrl+W", MonitorView, MonitorView},
        {"Ctrl+D", FirmwareDownload, FirmwareDownload},
        {"Ctrl+V", DeviceVersion, DeviceVersion},
        {"Ctrl+Y", ConvertDocument, std::nullopt},
        {"Ctrl+C", Help, Help},
    };
    const std::vector<std::string_view> all = CommandKeys();
    EXPECT_EQ(all.size(), std::size(keys)) << "each key once";
    for (const auto& k : keys) {
        SCOPED_TRACE(k.key);
        EXPECT_NE(std::ranges::find(all, std::string_view(k.key)), all.end());
        EXPECT_EQ(CommandForKey(k.key, configuration), k.configuration);
        EXPECT_EQ(CommandForKey(k.key, monitor), k.monitor);
    }
    // Every key a caption shows is among them.
    for (const CommandInfo& command : Commands()) {
        const std::size_t tab = command.caption.find('\t');
        if (tab != std::string_view::npos) {
            EXPECT_NE(std::ranges::find(all, command.caption.substr(tab + 1)), all.end()) << command.caption;
        }
    }
    EXPECT_FALSE(CommandForKey("Ctrl+Q", configuration));
    EXPECT_TRUE(configuration.IsEnabled(StandardPrint));
    EXPECT_FALSE(monitor.IsEnabled(StandardPrint));
}

TEST(CommandTableTest, ToolbarOrder)
{
    const CommandId expected[] = {Connect,
                                  Disconnect,
                                  MonitorView,
                                  CommandInteraction,
                                  FirmwareDownload,
                                  kToolbarSeparator,
                                  DeviceVersion,
                                  kToolbarSeparator,
                                  ClearDocument,
                                  Undo,
                                  Print,
                                  ConvertDocument,
                                  ImageExtract,
                                  ImageSave,
                                  DecodedOutputSave};
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
