#include "app/ProfileMenu.h"

#include "base/QtText.h"

#include "base/SavePathStore.h"
#include "document/QuillonDoc.h"
#include "profile/ProfileCommands.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace quillon {

namespace {

const QString kFilter = Tr("配置文件 (*.json);;所有文件 (*)");

std::vector<std::string> StdStrings(const QStringList& list)
{
    std::vector<std::string> strings;
    for (const QString& text : list)
        strings.push_back(text.toStdString());
    return strings;
}

// "&1 name.json  (folder)": the number to choose it by, the name to know it by.
QString RecentCaption(int number, const std::string& path)
{
    const QFileInfo file(QString::fromStdString(path));
    // An "&" of the name is shown, not taken for the key.
    const auto shown = [](QString text) { return text.replace(QLatin1Char('&'), QStringLiteral("&&")); };
    return QStringLiteral("&%1 %2  (%3)")
        .arg(number)
        .arg(shown(file.fileName()), shown(QDir::toNativeSeparators(file.path())));
}

}  // namespace

ProfileMenu::ProfileMenu(Parts parts, QObject* parent)
    : QObject(parent),
      parts_(std::move(parts)),
      recent_(StdStrings(parts_.store.ReadList(SavePathStore::kRecentProfiles)))
{
}

void ProfileMenu::Attach(QMenu* menu, QAction* before)
{
    menu_ = menu;
    before_ = before;
    RebuildRecentActions();
}

void ProfileMenu::Save()
{
    const std::vector<ProfileSetting> settings = SettingsToSave(parts_.doc, parts_.prompt);
    if (settings.empty())
        return;
    const QString chosen = parts_.chooseSave(parts_.store.StartPath(SavePathStore::kProfileFolder), kFilter);
    if (chosen.isEmpty())
        return;
    const std::optional<std::string> path = ProfileSavePath(chosen.toStdString(), parts_.prompt);
    if (!path || !SaveProfileFile(*path, settings, parts_.prompt))
        return;
    Remember(*path);
    parts_.showStatus(ProfileSavedStatus(*path, parts_.doc, settings.size()));
}

void ProfileMenu::Open()
{
    const QString chosen = parts_.chooseOpen(parts_.store.StartPath(SavePathStore::kProfileFolder), kFilter);
    if (chosen.isEmpty())
        return;
    const std::string path = chosen.toStdString();
    if (OpenProfileFile(parts_.doc, parts_.tree, path, parts_.prompt) != OpenOutcome::Opened)
        return;
    Remember(path);
    parts_.documentChanged();
    parts_.showStatus("已打开配置：" + path);
}

void ProfileMenu::OpenRecent(const std::string& path)
{
    const OpenOutcome outcome = OpenRecentProfile(parts_.doc, parts_.tree, path, recent_, parts_.prompt);
    Store();
    if (outcome != OpenOutcome::Opened)
        return;
    parts_.documentChanged();
    parts_.showStatus("已打开配置：" + path);
}

void ProfileMenu::Remember(const std::string& path)
{
    parts_.store.Write(SavePathStore::kProfileFolder, QFileInfo(QString::fromStdString(path)).absolutePath());
    recent_.Use(path);
    Store();
}

void ProfileMenu::Store()
{
    QStringList paths;
    for (const std::string& path : recent_.Paths())
        paths << QString::fromStdString(path);
    parts_.store.WriteList(SavePathStore::kRecentProfiles, paths);
    RebuildRecentActions();
}

void ProfileMenu::RebuildRecentActions()
{
    if (!menu_)
        return;
    for (QAction* action : std::as_const(recentActions_)) {
        menu_->removeAction(action);
        action->deleteLater();  // it may be the one being triggered
    }
    recentActions_.clear();
    if (!separator_)
        separator_ = menu_->insertSeparator(before_);
    separator_->setVisible(!recent_.Paths().empty());
    int number = 0;
    for (const std::string& path : recent_.Paths()) {
        auto* action = new QAction(RecentCaption(++number, path), menu_);
        action->setToolTip(QString::fromStdString(path));
        action->setStatusTip(QString::fromStdString(path));
        connect(action, &QAction::triggered, this, [this, path] { OpenRecent(path); });
        menu_->insertAction(before_, action);
        recentActions_ << action;
    }
}

}  // namespace quillon
