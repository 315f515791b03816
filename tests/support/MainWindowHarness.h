#pragma once
#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "app/SavePathStore.h"
#include "catalogue/FormTree.h"
#include "document/QuillonDoc.h"
#include "serial/RsParaSet.h"
#include "support/FakeDialogs.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QComboBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <memory>
#include <string>

namespace quillon::test {

// The real main window with everything the operator would answer replaced
// by recorders, and the operator's gestures on it.  A test adds its own
// parts to Parts() and then calls Open().  ConnectThroughDialog and the
// operator's clicks report through Qt Test.
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
    QTreeWidget* tree() const { return form()->TreeWidget(); }
    template <typename T> T* child(const char* name) const { return window->findChild<T*>(name); }

    // The first record of the level (2 setting, 3 option) whose key (PIDFID
    // for a setting, code for an option) starts with the prefix; -1 if none.
    int RecordWith(const std::string& prefix, int level) const
    {
        const auto& nodes = doc.catalogue.treeNodes;
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            const std::string& key = level == 3 ? nodes[i].code : nodes[i].pidFid;
            if (nodes[i].level == level
                && QString::fromStdString(key).startsWith(QString::fromStdString(prefix), Qt::CaseInsensitive))
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
    // The operator's own mouse: on a real X server the clicks go through the
    // server (xdotool), so they reach the window as a person's would.
    void OperatorDoubleClick(QTreeWidgetItem* item) const
    {
        if (!OnRealDisplay())
            return DoubleClick(item);
        XClick(tree()->viewport(), Reveal(item), 2);
    }
    void OperatorClick(QWidget* widget) const
    {
        if (!OnRealDisplay())
            return QTest::mouseClick(widget, Qt::LeftButton);
        XClick(widget, widget->rect().center(), 1);
    }

    // Runs the connect command and answers its modal port dialog once it is up.
    void ConnectThroughDialog(const QString& port, const QString& baud = QStringLiteral("115200"))
    {
        QTimer::singleShot(0, [port, baud] {
            auto* dialog = qobject_cast<CRsParaSet*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->findChild<QComboBox*>("port")->setEditText(port);
            dialog->findChild<QComboBox*>("baud")->setEditText(baud);
            dialog->findChild<QPushButton*>("connect")->click();
            if (dialog->isVisible())
                dialog->reject();  // the port did not open: end the test, do not hang it
        });
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
    static bool OnRealDisplay() { return QGuiApplication::platformName() == QStringLiteral("xcb"); }
    static void XClick(QWidget* widget, QPoint at, int clicks)
    {
        const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
        QVERIFY2(!xdotool.isEmpty(), "xdotool is needed on a real display (scripts/install-deps)");
        QApplication::processEvents();
        const QPoint global = widget->mapToGlobal(at);
        QCOMPARE(QProcess::execute(xdotool, {"mousemove", "--sync", QString::number(global.x()),
                                             QString::number(global.y()), "click", "--repeat",
                                             QString::number(clicks), "1"}),
                 0);
    }
};

}  // namespace quillon::test
