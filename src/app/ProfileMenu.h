#pragma once
#include "device/SaveCommands.h"
#include "profile/RecentFiles.h"

#include <QObject>

#include <functional>
#include <string>

class QAction;
class QMenu;

namespace quillon {

class CatalogueTree;
class CQuillonDoc;
class IPrompt;
class SavePathStore;

// "打开配置", "保存配置" and the recent profiles at the end of the File
// menu: the file dialogs and the menu; the rules are the core's
// (profile/ProfileCommands, profile/RecentFiles).
class ProfileMenu : public QObject {
    Q_OBJECT
public:
    struct Parts {
        CQuillonDoc& doc;
        const CatalogueTree& tree;
        IPrompt& prompt;
        SavePathStore& store;
        SaveFileChooser chooseSave;
        OpenFileChooser chooseOpen;
        // The document's entries were replaced or extended.
        std::function<void()> documentChanged;
        std::function<void(const std::string&)> showStatus;
    };

    explicit ProfileMenu(Parts parts, QObject* parent = nullptr);

    // The recent profiles go into `menu` before `before`, behind a separator.
    void Attach(QMenu* menu, QAction* before);

    void Save();
    void Open();

private:
    void OpenRecent(const std::string& path);
    void Remember(const std::string& path);
    void Store();
    void RebuildRecentActions();

    Parts parts_;
    RecentFiles recent_;
    QMenu* menu_ = nullptr;
    QAction* before_ = nullptr;
    QAction* separator_ = nullptr;
    QList<QAction*> recentActions_;
};

}  // namespace quillon
