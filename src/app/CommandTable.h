#pragma once
#include "base/ViewMode.h"

#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace quillon {

// Menu and toolbar commands, numbered as the program has always numbered them.
enum class CommandId : int {
    ClearDocument = 57600,
    Print = 32784,
    PrintSetup = 57606,
    Exit = 57665,
    Connect = 32774,
    Disconnect = 32786,
    ConfigurationView = 32782,
    MonitorView = 32779,
    FirmwareDownload = 32795,
    DeviceVersion = 32788,
    CommandInteraction = 32822,
    Undo = 57643,
    ConvertDocument = 32791,
    ImageExtract = 32818,
    ImageSave = 32793,
    DecodedOutputSave = 32816,
    Help = 32820,
    About = 57664,
    OpenProfile = 32850,
    SaveProfile = 32851,
    SaveTrace = 32852,
    // The view's standard print (the pane as shown, no footer): only a key
    // reaches it, it has no menu entry.
    StandardPrint = 57607,
};

// When a command may be used: always, only in the configuration view (the
// document commands) or only in the monitor view.
enum class EnableRule { Always, ConfigurationView, MonitorView };

struct CommandInfo {
    CommandId id;
    std::string_view caption;  // text after the tab is the shortcut label
    EnableRule rule;
    int menu;  // index into MenuTitles()
};

// Every command in menu order.
std::span<const CommandInfo> Commands();
const CommandInfo& FindCommand(CommandId id);

// Top-level menus; the view-switch menu exists in the table but is taken off
// the menu bar, since the toolbar and the tree switch views.
std::span<const std::string_view> MenuTitles();
inline constexpr int kViewSwitchMenu = 2;

// The toolbar, left to right; nullopt-like separators are CommandId{0}.
inline constexpr CommandId kToolbarSeparator = CommandId{0};
std::span<const CommandId> ToolbarLayout();

// The view the window shows and the two command groups it enables.
class ViewModeState {
public:
    ViewMode CurrentView() const { return viewMode_; }

    void EnterMonitorView();
    void EnterConfigurationView();

    bool IsEnabled(CommandId id) const;

private:
    ViewMode viewMode_ = ViewMode::Configuration;
    bool configCommandsEnabled_ = true;
    bool monitorCommandsEnabled_ = false;
};

// Keys, written as "Ctrl+P".  Each key shown in a caption runs its command
// in the views where that command is enabled, beside the standard keys
// (Ctrl+P the standard print, Ctrl+Z and Alt+Backspace undo).  Where
// several commands have one key, the first enabled in the view takes it:
// the standard keys before the captions, captions in menu order.
std::vector<std::string_view> CommandKeys();
std::optional<CommandId> CommandForKey(std::string_view key, const ViewModeState& view);

}  // namespace quillon
