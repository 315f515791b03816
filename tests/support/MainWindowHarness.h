#pragma once
#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "base/SavePathStore.h"
#include "catalogue/FormTree.h"
#include "document/QuillonDoc.h"
#include "support/FakeDialogs.h"
#include "support/PortDialogAnswer.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"

#include <QTest>
#include <QTreeWidget>

#include <memory>
#include <string>

namespace quillon::test {

// The real main window with everything the operator would answer replaced
// by recorders, and the records of its catalogue found in its tree.  A test
// adds its own parts to Parts() and then calls Open(); the operator's own
// input is in WindowDriving.h.
class MainWindowHarness {
public:
    MainWindowHarness() : store(QString::fromStdString((temp.Path() / "savepath.conf").string())) {}

    MainFrameParts Parts()
    {
        MainFrameParts parts;
        parts.prompt = &prompt;
        parts.dialogs = &dialogs;
        parts.savePaths = &store;
        return parts;
    }
    // Builds the window over the catalogue the parts name and shows it;
    // false when it never reached the screen.
    [[nodiscard]] bool Open(const MainFrameParts& parts, QSize size = {1200, 800})
    {
        window = std::make_unique<CMainFrame>(doc, parts);
        window->resize(size);
        window->InitialUpdate();
        window->show();
        return QTest::qWaitForWindowExposed(window.get());
    }

    CFormTree* form() const { return window->Form(); }
    // The reply route in effect, as the link has it.
    int Route() const { return static_cast<int>(window->Session().Link().Route()); }
    bool ReadBusy() const { return window->Session().Link().ReadBusy(); }
    QTreeWidget* tree() const { return form()->TreeWidget(); }
    template <typename T> T* child(const char* name) const { return window->findChild<T*>(name); }

    // The first record of the level (2 setting, 3 option) whose key (PIDFID
    // for a setting, code for an option) starts with the prefix; -1 if none.
    int RecordWith(const std::string& prefix, int level) const
    {
        const auto& nodes = doc.catalogue.treeNodes;
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            const std::string& key = level == 3 ? nodes[i].code : nodes[i].pidFid;
            if (nodes[i].level == level &&
                QString::fromStdString(key).startsWith(QString::fromStdString(prefix), Qt::CaseInsensitive))
                return static_cast<int>(i);
        }
        return -1;
    }
    QTreeWidgetItem* ItemOf(int record) const
    {
        return form()->WidgetItem(doc.catalogue.treeNodes.at(static_cast<std::size_t>(record)).treeItem);
    }

    // Clicks then double-clicks an item the way the operator does.
    void DoubleClick(QTreeWidgetItem* item) const
    {
        const QPoint at = Reveal(item);
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(tree()->viewport(), Qt::LeftButton, {}, at);
    }
    // Runs the connect command with its port dialog answered.
    void ConnectThroughDialog(const QString& port)
    {
        AnswerPortDialog(port);
        window->Action(CommandId::Connect)->trigger();
    }

    TempDir temp;
    SavePathStore store;
    CQuillonDoc doc;
    RecordingPrompt prompt;
    FakeDialogs dialogs;
    std::unique_ptr<CMainFrame> window;

private:
    // Expands the item's parents and scrolls to it; returns its centre.
    QPoint Reveal(QTreeWidgetItem* item) const
    {
        for (QTreeWidgetItem* up = item->parent(); up; up = up->parent())
            up->setExpanded(true);
        tree()->scrollToItem(item);
        return tree()->visualItemRect(item).center();
    }
};

}  // namespace quillon::test
