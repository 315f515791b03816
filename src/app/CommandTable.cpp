#include "app/CommandTable.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace quillon {

namespace {

using enum CommandId;

enum Menu { kFile, kDevice, kViewSwitch, kTools, kEdit, kMonitor, kHelp };

constexpr std::array<std::string_view, 7> kMenuTitles = {
    "文件(&F)", "设备(&S)", "视图切换(&Q)", "工具(&T)", "编辑(&E)", "监控(&M)", "帮助(&H)",
};

constexpr std::array<CommandInfo, 21> kCommands = {{
    {OpenProfile, "打开配置(&O)...\tCtrl+O", EnableRule::ConfigurationView, kFile},
    {SaveProfile, "保存配置(&S)...\tCtrl+S", EnableRule::ConfigurationView, kFile},
    {ClearDocument, "清空文档(&N)\tCtrl+N", EnableRule::Always, kFile},
    {Print, "打印文档(&P)...\tCtrl+P", EnableRule::ConfigurationView, kFile},
    {PrintSetup, "打印设置(&R)...", EnableRule::Always, kFile},
    {Exit, "退出(&X)", EnableRule::Always, kFile},
    {Connect, "连接设备(&T)\tCtrl+T", EnableRule::Always, kDevice},
    {Disconnect, "断开设备(&E)\tCtrl+E", EnableRule::Always, kDevice},
    {ConfigurationView, "配置界面(&G)\tCtrl+G", EnableRule::Always, kViewSwitch},
    {MonitorView, "监控界面(&W)\tCtrl+W", EnableRule::Always, kViewSwitch},
    {FirmwareDownload, "固件下载(&D)\tCtrl+D", EnableRule::Always, kTools},
    {DeviceVersion, "设备版本(&V)\tCtrl+V", EnableRule::Always, kTools},
    {CommandInteraction, "命令交互(&P)\tCtrl+P", EnableRule::Always, kTools},
    {Undo, "撤消操作(&U)\tCtrl+U", EnableRule::ConfigurationView, kEdit},
    {ConvertDocument, "条码转换(&Y)\tCtrl+Y", EnableRule::ConfigurationView, kEdit},
    {ImageExtract, "图像提取(&U)\tCtrl+U", EnableRule::MonitorView, kMonitor},
    {ImageSave, "图像保存(&S)\tCtrl+S", EnableRule::MonitorView, kMonitor},
    {DecodedOutputSave, "解码保存(&O)\tCtrl+O", EnableRule::MonitorView, kMonitor},
    {Help, "帮助文档(&C)\tCtrl+C", EnableRule::Always, kHelp},
    {SaveTrace, "保存通信记录…", EnableRule::Always, kHelp},
    {About, "关于 Quillon(&A)...", EnableRule::Always, kHelp},
}};

constexpr std::array<CommandId, 15> kToolbar = {
    Connect,
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
    DecodedOutputSave,
};

struct StandardKey {
    std::string_view key;
    CommandId id;
};

constexpr std::array<StandardKey, 3> kStandardKeys = {{
    {"Ctrl+P", StandardPrint},
    {"Ctrl+Z", Undo},
    {"Alt+Backspace", Undo},
}};

// The shortcut label after the caption's tab; empty when there is none.
std::string_view ShownKey(const CommandInfo& command)
{
    const std::size_t tab = command.caption.find('\t');
    return tab == std::string_view::npos ? std::string_view() : command.caption.substr(tab + 1);
}

}  // namespace

std::vector<std::string_view> CommandKeys()
{
    std::vector<std::string_view> keys;
    const auto add = [&keys](std::string_view key) {
        if (!key.empty() && std::ranges::find(keys, key) == keys.end())
            keys.push_back(key);
    };
    for (const StandardKey& standard : kStandardKeys)
        add(standard.key);
    for (const CommandInfo& command : kCommands)
        add(ShownKey(command));
    return keys;
}

std::optional<CommandId> CommandForKey(std::string_view key, const ViewModeState& view)
{
    for (const StandardKey& standard : kStandardKeys) {
        if (standard.key == key && view.IsEnabled(standard.id))
            return standard.id;
    }
    for (const CommandInfo& command : kCommands) {
        if (ShownKey(command) == key && view.IsEnabled(command.id))
            return command.id;
    }
    return std::nullopt;
}

std::span<const CommandInfo> Commands()
{
    return kCommands;
}

const CommandInfo& FindCommand(CommandId id)
{
    for (const auto& command : kCommands) {
        if (command.id == id)
            return command;
    }
    throw std::out_of_range("unknown command");
}

std::span<const std::string_view> MenuTitles()
{
    return kMenuTitles;
}

std::span<const CommandId> ToolbarLayout()
{
    return kToolbar;
}

void ViewModeState::EnterMonitorView()
{
    viewMode_ = ViewMode::Monitor;
    configCommandsEnabled_ = false;
    monitorCommandsEnabled_ = true;
}

void ViewModeState::EnterConfigurationView()
{
    viewMode_ = ViewMode::Configuration;
    configCommandsEnabled_ = true;
    monitorCommandsEnabled_ = false;
}

bool ViewModeState::IsEnabled(CommandId id) const
{
    // The standard print prints the document, as the print command does.
    if (id == StandardPrint)
        id = Print;
    switch (FindCommand(id).rule) {
    case EnableRule::Always: return true;
    case EnableRule::ConfigurationView: return configCommandsEnabled_;
    case EnableRule::MonitorView: return monitorCommandsEnabled_;
    }
    return false;
}

}  // namespace quillon
