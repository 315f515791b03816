#include "profile/ProfileCommands.h"

#include "base/Prompt.h"
#include "document/QuillonDoc.h"
#include "profile/OptionEntries.h"
#include "profile/ProfileReader.h"
#include "profile/ProfileWriter.h"
#include "profile/RecentFiles.h"

#include <algorithm>
#include <filesystem>
#include <optional>

namespace quillon {

namespace {

// Stands in for the operator while a profile's entries are added: the
// operator already chose to add them all, so a repeat of an entry is added
// without a question; what the document tells goes to the operator.
class OpeningPrompt : public IPrompt {
public:
    explicit OpeningPrompt(IPrompt& operatorPrompt) : operator_(operatorPrompt) {}
    void ShowError(const std::string& text) override { operator_.ShowError(text); }
    void ShowInfo(const std::string& text) override { operator_.ShowInfo(text); }
    bool AskOkCancel(const std::string&) override { return true; }

private:
    IPrompt& operator_;
};

enum class OpenMode { Replace, Append };

std::optional<OpenMode> AskOpenMode(const CQuillonDoc& doc, IPrompt& prompt)
{
    if (doc.entries.empty())
        return OpenMode::Replace;
    switch (prompt.AskChoice(kOpenModeQuestion, kOpenModeReplace, kOpenModeAppend)) {
    case IPrompt::Choice::First: return OpenMode::Replace;
    case IPrompt::Choice::Second: return OpenMode::Append;
    case IPrompt::Choice::Cancel: break;
    }
    return std::nullopt;
}

}  // namespace

std::string WithProfileExtension(const std::string& path)
{
    return std::filesystem::path(path).extension().empty() ? path + ".json" : path;
}

std::optional<std::string> ProfileSavePath(const std::string& typed, IPrompt& prompt)
{
    const std::string path = WithProfileExtension(typed);
    std::error_code error;
    if (path != typed && std::filesystem::exists(path, error) &&
        !prompt.WarnOkCancel(std::string(kProfileExistsQuestion) + "\n" + path))
        return std::nullopt;
    return path;
}

std::vector<ProfileSetting> SettingsToSave(const CQuillonDoc& doc, IPrompt& prompt)
{
    std::vector<ProfileSetting> settings = DocumentProfile(doc);
    if (settings.empty())
        prompt.ShowError(kNothingToSaveText);
    return settings;
}

bool SaveProfileFile(const std::string& path, const std::vector<ProfileSetting>& settings, IPrompt& prompt)
{
    const std::string failure = WriteProfile(path, settings);
    if (failure.empty())
        return true;
    prompt.ShowError(std::string(kProfileSaveFailedText) + "\n" + path + ": " + failure);
    return false;
}

std::string ProfileSavedStatus(const std::string& path, const CQuillonDoc& doc, std::size_t saved)
{
    std::string status = "已保存配置：" + path;
    if (const std::size_t left = doc.entries.size() - std::min(saved, doc.entries.size()); left > 0)
        status += "（" + std::to_string(left) + " 个自定义条目未保存）";
    return status;
}

OpenOutcome OpenProfileFile(CQuillonDoc& doc, const CatalogueTree& tree, const std::string& path, IPrompt& prompt)
{
    const ProfileRead read = ReadProfile(path, doc.catalogue.treeNodes);
    if (!read.error.empty()) {
        prompt.ShowError(std::string(kProfileRefusedText) + "\n" + read.error);
        return OpenOutcome::Refused;
    }
    if (read.settings.empty()) {
        prompt.ShowError(kEmptyProfileText);
        return OpenOutcome::Refused;
    }
    const std::optional<OpenMode> mode = AskOpenMode(doc, prompt);
    if (!mode)
        return OpenOutcome::Cancelled;

    // The entries are made on a copy, so an entry the document refuses
    // halfway leaves the real one untouched.
    CQuillonDoc draft;
    draft.catalogue = doc.catalogue;
    if (mode == OpenMode::Append)
        draft.entries = doc.entries;
    OpeningPrompt opening(prompt);
    draft.SetPrompt(&opening);
    OptionEntries options(draft, tree);
    for (const ProfileSetting& setting : read.settings) {
        if (const std::string error = options.Add(setting.code, setting.value); !error.empty()) {
            prompt.ShowError(std::string(kProfileRefusedText) + "\n" + path + ":" + std::to_string(setting.line) +
                             ": " + error);
            return OpenOutcome::Refused;
        }
    }
    doc.entries = std::move(draft.entries);
    // A conversion made before no longer matches the entries.
    doc.ResetConversion();
    doc.displayMode = CQuillonDoc::kShowList;
    return OpenOutcome::Opened;
}

OpenOutcome OpenRecentProfile(CQuillonDoc& doc, const CatalogueTree& tree, const std::string& path, RecentFiles& recent,
                              IPrompt& prompt)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        recent.Forget(path);
        prompt.ShowError(std::string(kRecentMissingText) + "\n" + path);
        return OpenOutcome::Refused;
    }
    const OpenOutcome outcome = OpenProfileFile(doc, tree, path, prompt);
    if (outcome == OpenOutcome::Opened)
        recent.Use(path);
    return outcome;
}

}  // namespace quillon
