#pragma once
#include "profile/Profile.h"

#include <optional>
#include <string>
#include <vector>

namespace quillon {

class CatalogueTree;
class CQuillonDoc;
class IPrompt;
class RecentFiles;

inline constexpr const char* kNothingToSaveText =
    "当前文档没有可保存为配置的设置条目（自定义条码不保存在配置中），请先添加设置！";
inline constexpr const char* kProfileSaveFailedText = "保存配置文件失败，原有文件未改变：";
inline constexpr const char* kProfileRefusedText = "无法打开配置文件，文档未改变：";
inline constexpr const char* kEmptyProfileText = "配置文件中没有设置条目，文档未改变。";
inline constexpr const char* kOpenModeQuestion = "文档中已有条目。用配置文件中的条目替换它们，还是添加到文档末尾？";
inline constexpr const char* kOpenModeReplace = "替换";
inline constexpr const char* kOpenModeAppend = "添加到末尾";
inline constexpr const char* kProfileExistsQuestion = "配置文件已存在，是否替换？";
inline constexpr const char* kRecentMissingText = "配置文件已不存在，已从最近打开的文件中移除：";

// A name typed without an extension gets ".json"; any other is kept.
std::string WithProfileExtension(const std::string& path);

// The file to save to for the name typed into the save dialog: with ".json"
// added where it had no extension.  The dialog asked before replacing the
// file it was given, not the one the extension leads to, so replacing that
// one is asked here; nullopt when the operator declines.
std::optional<std::string> ProfileSavePath(const std::string& typed, IPrompt& prompt);

// "保存配置", before the file is chosen: the settings behind the document's
// entries; none, with the operator told, when there is nothing to save.
std::vector<ProfileSetting> SettingsToSave(const CQuillonDoc& doc, IPrompt& prompt);

// Writes the profile in one step; a failure is shown with its reason and
// leaves any earlier file as it was.  true when written.
bool SaveProfileFile(const std::string& path, const std::vector<ProfileSetting>& settings, IPrompt& prompt);

// What the status bar says after a save: the file, and how many entries of
// the ADD button stayed out.
std::string ProfileSavedStatus(const std::string& path, const CQuillonDoc& doc, std::size_t saved);

enum class OpenOutcome { Opened, Cancelled, Refused };

// "打开配置": reads and checks the whole profile, asks once whether its
// entries replace the document's or follow them (when there are any), then
// adds them by the path a double-click takes.  A refused file, or an entry
// the document cannot take, is shown with the file, line and reason and
// leaves the document as it was.
OpenOutcome OpenProfileFile(CQuillonDoc& doc, const CatalogueTree& tree, const std::string& path, IPrompt& prompt);

// The same for a file of the recent list: a file that is gone is taken off
// the list with a message; one opened moves to the front.
OpenOutcome OpenRecentProfile(CQuillonDoc& doc, const CatalogueTree& tree, const std::string& path, RecentFiles& recent,
                              IPrompt& prompt);

}  // namespace quillon
