#include "app/AboutDialog.h"
#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "app/SavePathStore.h"
#include "app/WndInfoFrm.h"
#include "catalogue/FormTree.h"
#include "document/QuillonDoc.h"
#include "serial/CnComm.h"
#include "serial/PortLinks.h"
#include "serial/RsParaSet.h"
#include "views/RightView.h"
#include "support/FakeDialogs.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include <algorithm>
#include <memory>

#include <pty.h>
#include <stdlib.h>
#include <unistd.h>

using namespace quillon;
using quillon::test::FakeDialogs;
using quillon::test::RecordingPrompt;

namespace {

constexpr const char* kNoPort = "请先初始化通信串口参数！";

struct Applied {
    int index;
    int parent;
    ValueTriple value;
    std::string caption;
};

class RecordingDocument : public IConfigurationTarget {
public:
    void AddCommandEntry(int index, int parent, const ValueTriple& value, const std::string& caption) override
    {
        entries.push_back({index, parent, value, caption});
    }
    std::vector<Applied> entries;
};

class RecordingDevice : public ISettingSender {
public:
    void SendSettingFrame(int index, const ValueTriple& value) override { frames.push_back({index, -1, value, {}}); }
    std::vector<Applied> frames;
};

// One real main window over the bundled catalogue, with everything the
// operator would answer replaced by recorders.
struct Harness {
    explicit Harness(const std::string& configPath = kDefaultConfigFile, bool recordDocument = true)
        : store(QString::fromStdString((temp.Path() / "savepath.conf").string()))
    {
        MainFrameParts parts;
        parts.prompt = &prompt;
        parts.dialogs = &dialogs;
        parts.document = recordDocument ? &document : nullptr;
        parts.device = &device;
        parts.savePaths = &store;
        parts.clock = [this] { return now; };
        parts.openDocument = [this](const QString& path) { opened << path; };
        parts.configPath = configPath;
        window = std::make_unique<CMainFrame>(doc, parts);
        window->resize(1200, 800);
        window->InitialUpdate();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    CFormTree* form() const { return window->Form(); }
    QTreeWidget* tree() const { return form()->TreeWidget(); }
    template <typename T> T* child(const char* name) const { return window->findChild<T*>(name); }

    int RecordWith(const std::string& prefix, int level) const
    {
        const auto& nodes = doc.catalogue.treeNodes;
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            const std::string& key = level == 3 ? nodes[i].code : nodes[i].pidFid;
            if (nodes[i].level == level && QString::fromStdString(key).startsWith(QString::fromStdString(prefix), Qt::CaseInsensitive))
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
        for (QTreeWidgetItem* up = item->parent(); up; up = up->parent())
            up->setExpanded(true);
        tree()->scrollToItem(item);
        const QPoint at = tree()->visualItemRect(item).center();
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(tree()->viewport(), Qt::LeftButton, {}, at);
    }

    std::vector<int> Rows() const
    {
        const QList<int> sizes = window->InnerSplitter()->sizes();
        return {sizes.value(0), sizes.value(1)};
    }
    int H() const { return window->InnerSplitter()->height() - window->InnerSplitter()->handleWidth(); }

    test::TempDir temp;
    SavePathStore store;
    CQuillonDoc doc;
    RecordingPrompt prompt;
    FakeDialogs dialogs;
    RecordingDocument document;
    RecordingDevice device;
    std::int64_t now = 100000;
    QStringList opened;
    std::unique_ptr<CMainFrame> window;
};

DialogOutput TextOut(const char* text, bool hex = false, const char* caption = "")
{
    DialogOutput out;
    out.text = text;
    out.hex = hex;
    out.captionText = caption;
    return out;
}

DialogOutput NumberOut(long number)
{
    DialogOutput out;
    out.number = number;
    return out;
}

}  // namespace

Q_DECLARE_METATYPE(ParameterDialog)
Q_DECLARE_METATYPE(DialogOutput)

class MainFrameTest : public QObject {
    Q_OBJECT
private slots:
    void startsWithTheBundledCatalogue();
    void menuToolbarAndInfoBar();
    void doubleClickOpensTheDialogAndAppliesTheTriple_data();
    void doubleClickOpensTheDialogAndAppliesTheTriple();
    void cancelAppliesNothing();
    void groupsAndSettingsDoNothing();
    void bothBoxesAddAndSend();
    void selectionShowsTheDescription();
    void gestureRevealsTheCustomCodeEntry_data();
    void gestureRevealsTheCustomCodeEntry();
    void customCodeIsAddedToTheDocument();
    void f6MovesBetweenThePanes();
    void commandStatesFollowTheView();
    void layoutPanesConfigurationView();
    void layoutPanesMonitorView();
    void refusalsWithoutAPort_data();
    void refusalsWithoutAPort();
    void brokenCatalogueKeepsTheProgramRunning();
    void helpOpensOnlyAnExistingFile();
    void formControlsFollowTheLayout();
    void infoBarColoursAndReset();
    void savePathStore();
    void aboutDialog();
    void printRefusesAnEmptyDocument();
    void connectOpensThePortThroughTheDialog();
};

void MainFrameTest::startsWithTheBundledCatalogue()
{
    Harness h;
    QVERIFY(h.prompt.shown.empty());
    QVERIFY(h.doc.catalogue.treeNodes.size() > 50);
    QCOMPARE(h.tree()->topLevelItemCount(), static_cast<int>(h.form()->Tree().Roots().size()));
    QCOMPARE(h.tree()->topLevelItem(0)->text(0), QString::fromStdString(h.doc.catalogue.treeNodes[0].name));
    QVERIFY(h.form()->MakeBarcodeChecked());
    QCOMPARE(h.form()->CatalogueFile(), std::string("all.xml"));
    QCOMPARE(h.window->ViewMode(), 0);
    QCOMPARE(h.window->windowTitle(), QString("Quillon V" QUILLON_VERSION " LNX"));
    QVERIFY(!h.window->windowIcon().isNull());
    QCOMPARE(h.form()->replyRoute, -1);
}

void MainFrameTest::menuToolbarAndInfoBar()
{
    Harness h;
    QStringList menus;
    for (QAction* menu : h.window->menuBar()->actions())
        menus << menu->text();
    QVERIFY(!menus.contains(QStringLiteral("视图切换(&Q)")));
    QCOMPARE(menus.size(), 6);

    auto* toolBar = h.child<QToolBar>("toolBar");
    QVERIFY(toolBar);
    QCOMPARE(toolBar->iconSize(), QSize(32, 32));
    const auto layout = ToolbarLayout();
    const QList<QAction*> actions = toolBar->actions();
    QCOMPARE(actions.size(), static_cast<int>(layout.size()));
    for (int i = 0; i < actions.size(); ++i) {
        if (layout[static_cast<std::size_t>(i)] == kToolbarSeparator) {
            QVERIFY(actions[i]->isSeparator());
        } else {
            QCOMPARE(actions[i], h.window->Action(layout[static_cast<std::size_t>(i)]));
            QVERIFY(!actions[i]->icon().isNull());
            QVERIFY(!actions[i]->toolTip().isEmpty());
        }
    }
    QCOMPARE(h.window->Action(CommandId::Connect)->toolTip(), QStringLiteral("连接设备"));
    QCOMPARE(h.window->Action(CommandId::Undo)->text(), QStringLiteral("撤消操作(&U)\tCtrl+U"));
    QCOMPARE(h.window->Action(CommandId::Undo)->shortcuts(),
             (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)}));
    QCOMPARE(h.window->Action(CommandId::ClearDocument)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    // Ctrl+P is the view's standard print, not the menu's paginated print.
    QVERIFY(h.window->Action(CommandId::Print)->shortcut().isEmpty());
    const auto windowActions = h.window->actions();
    QVERIFY(std::ranges::any_of(windowActions, [](QAction* a) { return a->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_P); }));
    QVERIFY(h.window->Action(CommandId::CommandInteraction)->shortcut().isEmpty());

    CWndInfoFrm* info = h.window->InfoBar();
    QCOMPARE(info->statusCaption()->text(), QStringLiteral("当前状态："));
    QCOMPARE(info->statusText()->text(), QStringLiteral("未连接设备，脱机"));
    QCOMPARE(info->viewCaption()->text(), QStringLiteral("当前视图："));
    QCOMPARE(info->viewText()->text(), QStringLiteral("条码配置"));
    QCOMPARE(info->formatCaption()->text(), QStringLiteral("输出格式："));
    QCOMPARE(info->formatList()->count(), 2);
    QCOMPARE(info->formatList()->itemText(0), QStringLiteral("GBK"));
    QCOMPARE(info->formatList()->itemText(1), QStringLiteral("UTF-8"));
    QVERIFY(info->formatList()->isHidden());
    QVERIFY(info->formatCaption()->isHidden());
    QCOMPARE(info->statusText()->font().family(), QStringLiteral("微软雅黑"));
    QCOMPARE(info->statusText()->font().pointSize(), 10);
    // The view caption follows the splitter.
    const int leftWidth = h.window->centralWidget()->width() - h.window->InnerSplitter()->width();
    QCOMPARE(info->viewCaption()->x(), leftWidth);
    QCOMPARE(info->viewText()->x(), info->viewCaption()->geometry().right() + 1 + 5);
    QCOMPARE(info->viewText()->y(), 10);
    QCOMPARE(info->viewText()->height(), 20);
}

void MainFrameTest::doubleClickOpensTheDialogAndAppliesTheTriple_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<ParameterDialog>("dialog");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("optionText");
    QTest::addColumn<DialogOutput>("output");
    QTest::addColumn<QString>("valueText");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("caption");

    using enum ParameterDialog;
    QTest::newRow("M1 block") << "45CE" << M1Block << -1 << false << TextOut("00112233") << "00112233" << 4 << 3 << "";
    QTest::newRow("text C1 plain") << "51C1" << AddStr << -1 << true << TextOut("AB") << "AB" << 2 << 1 << "";
    QTest::newRow("text C2 hex") << "51C2" << AddStr << -1 << true << TextOut("4142", true) << "4142" << 2 << 3 << "";
    QTest::newRow("text D1") << "51D1" << AddStr << -1 << true << TextOut("条码") << "条码" << 2 << 1 << "";
    QTest::newRow("text D2") << "51D2" << AddStr << -1 << true << TextOut("0D", true) << "0D" << 1 << 3 << "";
    QTest::newRow("separator") << "31C4" << MbcSpStr << -1 << true << TextOut(";") << ";" << 1 << 1 << "";
    QTest::newRow("count") << "3181" << CodeNum << -1 << true << NumberOut(5) << "0005" << 2 << 2 << "";
    QTest::newRow("timeout") << "3183" << McbTimeout << -1 << false << TextOut("3e8") << "03E8" << 2 << 2 << "";
    QTest::newRow("order 85") << "3185" << MbcStrOrder << -1 << true << NumberOut(18) << "0012" << 2 << 2 << "";
    QTest::newRow("order 8A") << "318A" << MbcStrOrder << -1 << true << NumberOut(1) << "0001" << 2 << 2 << "";
    QTest::newRow("exposure 82") << "6182" << ExTimeSet << 0 << true << TextOut("10") << "0010" << 2 << 2 << "";
    QTest::newRow("exposure 8A") << "618A" << ExTimeSet << 1 << true << TextOut("x") << "FFFF" << 2 << 2 << "";
    QTest::newRow("exposure 88") << "6188" << ExTimeSet << 2 << true << TextOut("") << "0000" << 2 << 2 << "";
    QTest::newRow("speed") << "7181" << SpeedSet << -1 << true << TextOut("0032") << "0032" << 2 << 2 << "";
    QTest::newRow("interval 82") << "6482" << DiffResultTime << 0 << false << TextOut("03E8", false, "1000毫秒") << "03E8" << 2 << 2 << "1000毫秒";
    QTest::newRow("interval 81") << "6481" << DiffResultTime << 1 << false << TextOut("0064", false, "a") << "0064" << 2 << 2 << "a";
    QTest::newRow("interval 91") << "4591" << DiffResultTime << 3 << false << TextOut("01", false, "b") << "01" << 1 << 2 << "b";
    QTest::newRow("interval 92") << "4592" << DiffResultTime << 4 << false << TextOut("0002", false, "c") << "0002" << 2 << 2 << "c";
    QTest::newRow("interval 83") << "5083" << DiffResultTime << 5 << false << TextOut("0003", false, "d") << "0003" << 2 << 2 << "d";
    QTest::newRow("interval 84") << "5084" << DiffResultTime << 6 << false << TextOut("0004", false, "e") << "0004" << 2 << 2 << "e";
    QTest::newRow("interval 42") << "5042" << DiffResultTime << 7 << false << TextOut("0005", false, "f") << "0005" << 2 << 2 << "f";
    QTest::newRow("no dialog") << "4141" << None << -1 << false << DialogOutput{} << "" << 0 << 0 << "";
}

void MainFrameTest::doubleClickOpensTheDialogAndAppliesTheTriple()
{
    QFETCH(QString, key);
    QFETCH(ParameterDialog, dialog);
    QFETCH(int, mode);
    QFETCH(bool, optionText);
    QFETCH(DialogOutput, output);
    QFETCH(QString, valueText);
    QFETCH(int, length);
    QFETCH(int, kind);
    QFETCH(QString, caption);

    Harness h;
    const int record = h.RecordWith(key.toStdString(), 3);
    QVERIFY2(record >= 0, qPrintable("no option " + key + " in the bundled catalogue"));
    h.dialogs.answers.push_back(output);
    h.DoubleClick(h.ItemOf(record));

    const auto& node = h.doc.catalogue.treeNodes[static_cast<std::size_t>(record)];
    if (dialog == ParameterDialog::None) {
        QVERIFY(h.dialogs.calls.empty());
    } else {
        QCOMPARE(h.dialogs.calls.size(), std::size_t{1});
        QCOMPARE(h.dialogs.calls[0].dialog, dialog);
        QCOMPARE(h.dialogs.calls[0].mode, mode);
        QCOMPARE(h.dialogs.calls[0].optionText, optionText ? node.name : std::string());
    }
    QCOMPARE(h.document.entries.size(), std::size_t{1});
    const Applied& e = h.document.entries[0];
    QCOMPARE(e.index, record);
    QCOMPARE(h.doc.catalogue.treeNodes[static_cast<std::size_t>(e.parent)].level, 2);
    QCOMPARE(QString::fromStdString(e.value.valueText), valueText);
    QCOMPARE(e.value.valueLength, length);
    QCOMPARE(e.value.valueKind, kind);
    QCOMPARE(QString::fromStdString(e.caption), caption);
    QVERIFY(h.device.frames.empty());
}

void MainFrameTest::cancelAppliesNothing()
{
    Harness h;
    h.DoubleClick(h.ItemOf(h.RecordWith("3181", 3)));  // no answer queued: Cancel
    QCOMPARE(h.dialogs.calls.size(), std::size_t{1});
    QVERIFY(h.document.entries.empty());
    QVERIFY(h.device.frames.empty());
}

void MainFrameTest::groupsAndSettingsDoNothing()
{
    Harness h;
    h.DoubleClick(h.tree()->topLevelItem(0));
    h.DoubleClick(h.ItemOf(h.RecordWith("4141", 2)));
    QTreeWidgetItem* subGroup = h.tree()->topLevelItem(0)->child(0);
    QVERIFY(subGroup->data(0, Qt::UserRole + 1).isValid());
    h.DoubleClick(subGroup);
    QVERIFY(h.dialogs.calls.empty());
    QVERIFY(h.document.entries.empty());
    QVERIFY(h.device.frames.empty());
    QVERIFY(h.prompt.shown.empty());
}

void MainFrameTest::bothBoxesAddAndSend()
{
    Harness h;
    h.doc.portNumber = 3;
    h.child<QCheckBox>("sendToDevice1008")->click();
    QVERIFY(h.form()->SendToDeviceChecked());
    QCOMPARE(h.form()->replyRoute, 1);
    h.form()->replyRoute = -1;
    h.DoubleClick(h.ItemOf(h.RecordWith("4141", 3)));
    QCOMPARE(h.document.entries.size(), std::size_t{1});
    QCOMPARE(h.device.frames.size(), std::size_t{1});
    QCOMPARE(h.device.frames[0].index, h.document.entries[0].index);
    QCOMPARE(h.form()->replyRoute, 1);
}

void MainFrameTest::selectionShowsTheDescription()
{
    Harness h;
    h.doc.portNumber = 1;
    h.window->SwitchToMonitorView();
    QCOMPARE(h.window->ViewMode(), 1);
    const int record = h.RecordWith("4141", 3);
    h.tree()->setCurrentItem(h.ItemOf(record));
    QCOMPARE(h.window->ViewMode(), 0);  // choosing a setting returns to the configuration view
    auto* description = h.child<QPlainTextEdit>("description1006");
    QCOMPARE(description->toPlainText().toStdString(), h.doc.catalogue.treeNodes[static_cast<std::size_t>(record)].info);
    QVERIFY(!description->toPlainText().isEmpty());
    h.tree()->setCurrentItem(h.tree()->topLevelItem(0));
    QVERIFY(description->toPlainText().isEmpty());
}

void MainFrameTest::gestureRevealsTheCustomCodeEntry_data()
{
    QTest::addColumn<int>("gap");
    QTest::addColumn<bool>("revealed");
    QTest::newRow("399 ms") << 399 << true;
    QTest::newRow("400 ms") << 400 << false;
    QTest::newRow("0 ms") << 0 << true;
}

void MainFrameTest::gestureRevealsTheCustomCodeEntry()
{
    QFETCH(int, gap);
    QFETCH(bool, revealed);
    Harness h;
    const int marker = h.RecordWith("8265", 2);
    QVERIFY(marker >= 0);
    const char* names[] = {"code1083", "note1084", "add1082", "codeLabel1085", "noteLabel1086"};
    for (const char* name : names)
        QVERIFY(h.child<QWidget>(name)->isHidden());
    h.DoubleClick(h.ItemOf(marker));
    h.now += gap;
    h.DoubleClick(h.ItemOf(marker));
    for (const char* name : names)
        QCOMPARE(h.child<QWidget>(name)->isVisible(), revealed);
    QVERIFY(h.dialogs.calls.empty());
    QVERIFY(h.document.entries.empty());
    if (!revealed) {
        // Too slow: the next double-click starts a new measurement.
        h.now += 1;
        h.DoubleClick(h.ItemOf(marker));
        QVERIFY(h.child<QWidget>("code1083")->isHidden());
        h.now += 1;
        h.DoubleClick(h.ItemOf(marker));
        QVERIFY(h.child<QWidget>("code1083")->isVisible());
    }
    // A catalogue load hides the code box only.
    h.form()->LoadCatalogue();
    QVERIFY(h.child<QWidget>("code1083")->isHidden());
    QVERIFY(h.child<QWidget>("add1082")->isVisible());
    QCOMPARE(h.form()->Gesture().State(), std::int64_t{-1});
}

void MainFrameTest::customCodeIsAddedToTheDocument()
{
    Harness h("./config/config.ini", false);
    const int marker = h.RecordWith("8265", 2);
    h.DoubleClick(h.ItemOf(marker));
    h.now += 50;
    h.DoubleClick(h.ItemOf(marker));
    auto* code = h.child<QLineEdit>("code1083");
    auto* note = h.child<QLineEdit>("note1084");
    auto* add = h.child<QPushButton>("add1082");
    QVERIFY(add->isVisible());
    code->setText("8265AB");
    add->click();
    QVERIFY(h.doc.entries.empty());  // no description: nothing added
    note->setText(QStringLiteral("自定义"));
    code->clear();
    add->click();
    QVERIFY(h.doc.entries.empty());  // no code: nothing added
    code->setText("8265AB");
    add->click();
    QCOMPARE(h.doc.entries.size(), std::size_t{1});
    // And an option goes to the real document too.
    h.DoubleClick(h.ItemOf(h.RecordWith("4141", 3)));
    QCOMPARE(h.doc.entries.size(), std::size_t{2});
    QVERIFY(h.prompt.shown.empty());

    // Undo takes the last entry off; clear asks first and empties the rest.
    h.window->Action(CommandId::Undo)->trigger();
    QCOMPARE(h.doc.entries.size(), std::size_t{1});
    h.prompt.answers.push_back(false);
    h.window->Action(CommandId::ClearDocument)->trigger();
    QCOMPARE(h.doc.entries.size(), std::size_t{1});
    h.window->Action(CommandId::ClearDocument)->trigger();
    QVERIFY(h.doc.entries.empty());
    QCOMPARE(h.prompt.Texts(), (std::vector<std::string>{kClearQuestion, kClearQuestion}));
    h.window->Action(CommandId::Undo)->trigger();  // nothing left: nothing happens
    QVERIFY(h.doc.entries.empty());
}

void MainFrameTest::f6MovesBetweenThePanes()
{
    Harness h;
    h.window->raise();
    h.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(h.window.get()));
    h.tree()->setFocus();
    QTRY_VERIFY(h.tree()->hasFocus());
    QTest::keyClick(h.window.get(), Qt::Key_F6);
    QTRY_VERIFY(h.window->DocumentPane()->hasFocus());
    QTest::keyClick(h.window.get(), Qt::Key_F6);
    QTRY_VERIFY(h.window->MonitorPane()->hasFocus());
    QTest::keyClick(h.window.get(), Qt::Key_F6);
    QTRY_VERIFY(h.tree()->hasFocus());
    QTest::keyClick(h.window.get(), Qt::Key_F6, Qt::ShiftModifier);
    QTRY_VERIFY(h.window->MonitorPane()->hasFocus());
}

void MainFrameTest::commandStatesFollowTheView()
{
    Harness h;
    auto* toolBar = h.child<QToolBar>("toolBar");
    auto check = [&](bool monitor) {
        for (const CommandInfo& command : Commands()) {
            bool expected = true;
            if (command.rule == EnableRule::ConfigurationView)
                expected = !monitor;
            if (command.rule == EnableRule::MonitorView)
                expected = monitor;
            QAction* action = h.window->Action(command.id);
            QCOMPARE(action->isEnabled(), expected);
            if (QWidget* button = toolBar->widgetForAction(action))
                QCOMPARE(button->isEnabled(), expected);
        }
    };
    check(false);
    QVERIFY(!h.window->Action(CommandId::ImageSave)->isEnabled());
    QVERIFY(h.window->Action(CommandId::Undo)->isEnabled());

    h.doc.portNumber = 2;
    h.window->Action(CommandId::MonitorView)->trigger();
    QCOMPARE(h.window->ViewMode(), 1);
    QVERIFY(h.window->ViewState().MonitorCommandsEnabled());
    QVERIFY(!h.window->ViewState().ConfigCommandsEnabled());
    check(true);
    QVERIFY(h.form()->DecodeOutputChecked());
    QCOMPARE(h.form()->replyRoute, 2);
    QCOMPARE(h.window->InfoBar()->viewText()->text(), QStringLiteral("解码输出"));
    QVERIFY(h.window->InfoBar()->formatList()->isVisible());
    QVERIFY(h.child<QCheckBox>("makeBarcode1007")->isHidden());
    QVERIFY(h.child<QCheckBox>("decodeOutput1020")->isHidden());
    QCOMPARE(h.tree()->y(), 0);

    // A second switch runs nothing again.
    h.form()->replyRoute = 7;
    h.window->SwitchToMonitorView();
    QCOMPARE(h.form()->replyRoute, 7);

    // Undo in the monitor view does nothing.
    h.window->Execute(CommandId::Undo);

    h.window->SwitchToConfigurationView();
    QCOMPARE(h.window->ViewMode(), 0);
    QCOMPARE(h.form()->replyRoute, -1);
    check(false);
    QCOMPARE(h.window->InfoBar()->viewText()->text(), QStringLiteral("条码配置"));
    QVERIFY(h.window->InfoBar()->formatList()->isHidden());
    QVERIFY(h.child<QCheckBox>("makeBarcode1007")->isVisible());
    QVERIFY(h.tree()->y() > 0);
    h.form()->replyRoute = 7;
    h.window->SwitchToConfigurationView();  // already there: nothing
    QCOMPARE(h.form()->replyRoute, 7);
    QVERIFY(h.prompt.shown.empty());
}

void MainFrameTest::layoutPanesConfigurationView()
{
    Harness h;
    const int H = h.H();
    QCOMPARE(h.Rows(), (std::vector<int>{H, 0}));  // barcode only, at start
    auto* barcode = h.child<QCheckBox>("makeBarcode1007");
    barcode->click();  // neither
    QCOMPARE(h.Rows(), (std::vector<int>{H / 2, H - H / 2}));
    h.doc.portNumber = 4;
    h.child<QCheckBox>("sendToDevice1008")->click();  // device only
    QCOMPARE(h.Rows(), (std::vector<int>{0, H}));
    barcode->click();  // both
    QCOMPARE(h.Rows(), (std::vector<int>{2 * H / 3, H - 2 * H / 3}));
    h.child<QCheckBox>("sendToDevice1008")->click();  // barcode only again
    QCOMPARE(h.Rows(), (std::vector<int>{H, 0}));

    // Resizing the window lays the rows out again for the new height.
    barcode->click();
    h.window->resize(1000, 640);
    QTRY_COMPARE(h.Rows(), (std::vector<int>{h.H() / 2, h.H() - h.H() / 2}));
    QVERIFY(h.H() != H);
    QVERIFY(h.prompt.shown.empty());
}

void MainFrameTest::layoutPanesMonitorView()
{
    Harness h;
    h.doc.portNumber = 1;
    h.window->SwitchToMonitorView();
    const int H = h.H();
    QCOMPARE(h.Rows(), (std::vector<int>{2 * H / 3, H - 2 * H / 3}));  // decoded output only
    auto* image = h.child<QCheckBox>("imageExtract1024");
    image->setChecked(true);
    h.window->LayoutPanes();
    QCOMPARE(h.Rows(), (std::vector<int>{H / 2, H - H / 2}));  // both
    h.form()->SetDecodeOutputChecked(false);
    h.window->LayoutPanes();
    QCOMPARE(h.Rows(), (std::vector<int>{0, H}));  // image only
    image->setChecked(false);
    h.window->LayoutPanes();
    QCOMPARE(h.Rows(), (std::vector<int>{H / 2, H - H / 2}));  // neither
    QVERIFY(h.prompt.shown.empty());

    // The port went away: a monitor box refuses the layout and clears the online box.
    h.form()->SetDecodeOutputChecked(true);
    h.form()->SetSendToDeviceChecked(true);
    h.doc.portNumber = 0;
    h.window->LayoutPanes();
    QCOMPARE(h.prompt.Texts(), (std::vector<std::string>{kNoPort}));
    QVERIFY(!h.form()->SendToDeviceChecked());
    QCOMPARE(h.Rows(), (std::vector<int>{H / 2, H - H / 2}));  // unchanged

}

void MainFrameTest::refusalsWithoutAPort_data()
{
    QTest::addColumn<int>("command");
    QTest::newRow("monitor view") << static_cast<int>(CommandId::MonitorView);
    QTest::newRow("command interaction") << static_cast<int>(CommandId::CommandInteraction);
    QTest::newRow("device version") << static_cast<int>(CommandId::DeviceVersion);
}

void MainFrameTest::refusalsWithoutAPort()
{
    QFETCH(int, command);
    Harness h;
    h.window->Action(static_cast<CommandId>(command))->trigger();
    QCOMPARE(h.prompt.Texts(), (std::vector<std::string>{kNoPort}));
    QCOMPARE(h.prompt.shown[0].kind, RecordingPrompt::Shown::Error);
    QCOMPARE(h.window->ViewMode(), 0);

    // The online box refuses too and stays clear; nothing is laid out anew.
    h.prompt.shown.clear();
    const std::vector<int> before = h.Rows();
    h.child<QCheckBox>("sendToDevice1008")->click();
    QCOMPARE(h.prompt.Texts(), (std::vector<std::string>{kNoPort}));
    QVERIFY(!h.form()->SendToDeviceChecked());
    QCOMPARE(h.Rows(), before);

    // Ticked behind the port's back, any pane layout clears it with the same message.
    h.prompt.shown.clear();
    h.form()->SetSendToDeviceChecked(true);
    h.window->LayoutPanes();
    QCOMPARE(h.prompt.Texts(), (std::vector<std::string>{kNoPort}));
    QVERIFY(!h.form()->SendToDeviceChecked());

    // Image extraction from the form refuses as well.
    h.prompt.shown.clear();
    h.form()->AskImageSize(640, 480);
    QCOMPARE(h.prompt.Texts(), (std::vector<std::string>{kNoPort}));
}

void MainFrameTest::brokenCatalogueKeepsTheProgramRunning()
{
    test::TempDir dir;
    const std::string ini = dir.Write("config.ini", "[COMMON]\nBSPXML = missing-catalogue.xml\n");
    Harness h(ini);
    QCOMPARE(h.form()->CatalogueFile(), std::string("missing-catalogue.xml"));
    QCOMPARE(h.prompt.Texts(), (std::vector<std::string>{"配置文件设置错误，无法完成初始化！"}));
    QCOMPARE(h.tree()->topLevelItemCount(), 0);
    QVERIFY(h.doc.catalogue.treeNodes.empty());
    QVERIFY(h.form()->MakeBarcodeChecked());
    QCOMPARE(h.Rows(), (std::vector<int>{h.H(), 0}));
    QVERIFY(h.window->isVisible());
}

void MainFrameTest::helpOpensOnlyAnExistingFile()
{
    Harness h;
    test::TempDir dir;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QString::fromStdString(dir.Path().string())));
    h.window->Action(CommandId::Help)->trigger();
    QVERIFY(h.opened.isEmpty());
    dir.Write("帮助文档.docx", "PK");
    h.window->Action(CommandId::Help)->trigger();
    QDir::setCurrent(previous);
    QCOMPARE(h.opened.size(), 1);
    QVERIFY(h.opened[0].endsWith(QStringLiteral("/帮助文档.docx")));
    QVERIFY(QFileInfo(h.opened[0]).isAbsolute());
    QVERIFY(h.prompt.shown.empty());
}

void MainFrameTest::formControlsFollowTheLayout()
{
    Harness h;
    CFormTree* form = h.form();
    const int W = form->width();
    const int H = form->height();
    const int rowHeight = H / 9 - 20;
    QCOMPARE(h.child<QCheckBox>("makeBarcode1007")->geometry(), QRect(10, 15, W / 4 - 20, rowHeight));
    QCOMPARE(h.child<QCheckBox>("invertColours1009")->geometry(), QRect(W / 4, 15, 2 * W / 4 - W / 4 - 10, rowHeight));
    QCOMPARE(h.child<QCheckBox>("sendToDevice1008")->geometry(), QRect(2 * W / 4, 15, 3 * W / 4 - 2 * W / 4 - 10, rowHeight));
    QCOMPARE(h.child<QCheckBox>("qrCode1081")->geometry(), QRect(3 * W / 4, 15, W - 3 * W / 4 - 10, rowHeight));
    QCOMPARE(h.tree()->geometry(), QRect(0, H / 9, W - 2, 8 * H / 9 - H / 9));
    QCOMPARE(h.child<QPlainTextEdit>("description1006")->geometry(), QRect(0, 8 * H / 9, W - 2, 40));
    // Captions too long for their cell go on two lines rather than being cut.
    for (const char* name : {"makeBarcode1007", "invertColours1009", "sendToDevice1008", "qrCode1081"}) {
        auto* box = h.child<QCheckBox>(name);
        const QStringList lines = box->text().split('\n');
        int widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, box->fontMetrics().horizontalAdvance(line));
        QVERIFY2(lines.size() <= 2, name);
        QCOMPARE(box->text().remove('\n'), box->property("caption").toString());
    }
    // Dragging the splitter re-lays the form and moves the view caption with it.
    h.window->OuterSplitter()->setSizes({500, h.window->OuterSplitter()->width() - 500});
    QTRY_COMPARE(form->width(), 500);
    QCOMPARE(h.tree()->width(), 498);
    QTRY_COMPARE(h.window->InfoBar()->viewCaption()->x(),
                 h.window->centralWidget()->width() - h.window->InnerSplitter()->width());
}

namespace {
// Whether the label, as drawn, has text pixels close to the colour.
bool DrawnIn(QLabel* label, const QColor& colour)
{
    const QImage image = label->grab().toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.red() - colour.red()) < 40 && std::abs(pixel.green() - colour.green()) < 40
                && std::abs(pixel.blue() - colour.blue()) < 40)
                return true;
        }
    return false;
}
}  // namespace

void MainFrameTest::infoBarColoursAndReset()
{
    // Hosted as in the window: a toolbar must not turn the texts into button text.
    QToolBar host;
    auto* bar = new CWndInfoFrm;
    host.addWidget(bar);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    CWndInfoFrm& info = *bar;
    auto colour = [](QLabel* label) { return label->palette().color(label->foregroundRole()); };
    QVERIFY(DrawnIn(info.statusText(), QColor(255, 0, 0)));
    QVERIFY(DrawnIn(info.viewText(), QColor(0, 125, 255)));
    QVERIFY(!DrawnIn(info.statusCaption(), QColor(255, 0, 0)));
    QCOMPARE(colour(info.statusText()), QColor(255, 0, 0));
    QCOMPARE(colour(info.viewText()), QColor(0, 125, 255));
    info.SetConnected(5);
    QVERIFY(info.Connected());
    QCOMPARE(info.statusText()->text(), QStringLiteral("COM5，联机"));
    QCOMPARE(colour(info.statusText()), QColor(0, 125, 255));
    QVERIFY(DrawnIn(info.statusText(), QColor(0, 125, 255)));
    info.SetView("解码输出", true);
    info.formatList()->setCurrentIndex(1);
    QCOMPARE(info.OutputFormat(), 1);
    info.Reset();
    QVERIFY(!info.Connected());
    QCOMPARE(info.statusText()->text(), QStringLiteral("未连接设备，脱机"));
    QCOMPARE(colour(info.statusText()), QColor(255, 0, 0));
    QCOMPARE(info.OutputFormat(), 0);
    QVERIFY(info.formatList()->isHidden());
    info.PlaceViewCaption(300);
    QCOMPARE(info.viewCaption()->geometry().topLeft(), QPoint(300, 10));
    QCOMPARE(info.viewText()->geometry(), QRect(info.viewCaption()->geometry().right() + 6, 10, 225, 20));
}

void MainFrameTest::savePathStore()
{
    test::TempDir dir;
    const QString file = QString::fromStdString((dir.Path() / "savepath.conf").string());
    {
        SavePathStore store(file);
        store.EnsureCreated();
    }
    QSettings raw(file, QSettings::IniFormat);
    for (const char* name : {"mzloadpath", "mzpicpath", "codeoutpath"}) {
        QVERIFY2(raw.contains(QStringLiteral("savepath/") + name), name);
        QCOMPARE(raw.value(QStringLiteral("savepath/") + name).toString(), QString());
    }
    SavePathStore store(file);
    QCOMPARE(store.StartPath(SavePathStore::kImagePath), QDir::homePath());
    store.Write(SavePathStore::kImagePath, "/tmp/pictures/a,b.bmp");
    SavePathStore again(file);
    again.EnsureCreated();  // a later run keeps what was stored
    QCOMPARE(again.Read(SavePathStore::kImagePath), QStringLiteral("/tmp/pictures/a,b.bmp"));
    QCOMPARE(again.StartPath(SavePathStore::kImagePath), QStringLiteral("/tmp/pictures/a,b.bmp"));
    QCOMPARE(again.Read(SavePathStore::kFirmwarePath), QString());
}

void MainFrameTest::aboutDialog()
{
    AboutDialog about;
    QCOMPARE(about.windowTitle(), QStringLiteral("关于配置工具软件"));
    QVERIFY(about.VersionField()->text().contains(QStringLiteral(QUILLON_VERSION)));
}


void MainFrameTest::printRefusesAnEmptyDocument()
{
    Harness h("./config/config.ini", false);
    QVERIFY(qobject_cast<CRightView*>(h.window->DocumentPane()));
    h.window->Action(CommandId::Print)->trigger();
    QCOMPARE(h.prompt.Texts(), (std::vector<std::string>{kNothingToPrintText}));
    QCOMPARE(h.prompt.shown[0].kind, RecordingPrompt::Shown::Error);
}

void MainFrameTest::connectOpensThePortThroughTheDialog()
{
    quillon::test::TempDir dir;
    setenv("QUILLON_PORT_LINKS", (dir.Path() / "ports").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (dir.Path() / "config").c_str(), 1);
    int master = -1;
    int slave = -1;
    char slaveName[256] = {};
    QCOMPARE(openpty(&master, &slave, slaveName, nullptr, nullptr), 0);
    QVERIFY(PublishPortLink(77, slaveName));

    Harness h;
    // The dialog is modal: answer it once it is up, as an operator would.
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CRsParaSet*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->findChild<QComboBox*>("port")->setEditText("COM77");
        dialog->findChild<QComboBox*>("baud")->setEditText("115200");
        dialog->findChild<QPushButton*>("connect")->click();
    });
    h.window->Action(CommandId::Connect)->trigger();
    QCOMPARE(h.doc.portNumber, 77);
    QCOMPARE(h.doc.baudRate, 115200);
    QVERIFY(h.prompt.shown.empty());

    // The port is really open: a second program cannot have it.
    CnComm other;
    QVERIFY(!other.OpenByNumber(77, 115200));
    h.window->close();
    QVERIFY(other.OpenByNumber(77, 115200));
    other.Shutdown();

    RemovePortLink(77);
    close(slave);
    close(master);
    unsetenv("QUILLON_PORT_LINKS");
    unsetenv("XDG_CONFIG_HOME");
}

QTEST_MAIN(MainFrameTest)
#include "MainFrameTest.moc"
