#include "app/MainFrame.h"
#include "app/AboutDialog.h"
#include "app/CommandTable.h"
#include "app/HelpGuide.h"
#include "app/LockIndicators.h"
#include "app/QtPrompt.h"
#include "app/StartOptions.h"
#include "app/TraceMenu.h"
#include "app/WndInfoFrm.h"
#include "base/QtText.h"
#include "base/SavePathStore.h"
#include "catalogue/FormTree.h"
#include "catalogue/FormTreeLayout.h"
#include "document/QuillonDoc.h"
#include "support/MainWindowHarness.h"
#include "support/RecordingPrompt.h"
#include "support/RecordingTargets.h"
#include "support/TempDir.h"
#include "support/WindowDriving.h"
#include "views/RightView.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include <algorithm>
#include <memory>
#include <set>

using namespace quillon;
using quillon::test::RecordingPrompt;
using quillon::test::RecordingTargets;

namespace {

constexpr const char* kNoPort = "请先初始化通信串口参数！";
using Strings = std::vector<std::string>;

// One real main window over the bundled catalogue; the document and the
// device are recorders unless the test wants the real document.
struct Harness : test::MainWindowHarness {
    explicit Harness(const std::string& configPath = kDefaultConfigFile, bool recordDocument = true,
                     const std::string& catalogue = {})
    {
        MainFrameParts parts = Parts();
        parts.document = recordDocument ? &document : nullptr;
        parts.device = &document;
        parts.clock = [this] { return now; };
        parts.openDocument = [this](const QString& path) {
            opened << path;
            return viewerPresent;
        };
        parts.helpGuide = helpGuide;
        parts.configPath = configPath;
        parts.catalogue = catalogue;
        QVERIFY(Open(parts));
        document.route = [this] { return Route(); };
    }
    ~Harness() { window.reset(); }  // before the recorders it was given

    QList<int> Rows() const { return window->InnerSplitter()->sizes(); }
    int H() const { return window->InnerSplitter()->height() - window->InnerSplitter()->handleWidth(); }

    RecordingTargets document;  // also the device
    std::int64_t now = 100000;
    QStringList opened;
    bool viewerPresent = true;
    std::string helpGuide = QUILLON_SOURCE_DIR "/data/guide/index.html";
};

// Whether the label, as drawn, has text pixels close to the colour.
bool DrawnIn(QLabel* label, const QColor& colour)
{
    const QImage image = label->grab().toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.red() - colour.red()) < 40 && std::abs(pixel.green() - colour.green()) < 40 &&
                std::abs(pixel.blue() - colour.blue()) < 40)
                return true;
        }
    return false;
}

// Whether the image has a dark pixel in [left, right) x [top, bottom).
bool DarkIn(const QImage& grey, QRect area)
{
    area &= grey.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(grey.pixel(x, y)) < 128)
                return true;
    return false;
}

DialogOutput Out(const char* text, bool hex = false, const char* caption = "", long number = 0)
{
    return DialogOutput{text, caption, hex, number};
}

}  // namespace

Q_DECLARE_METATYPE(ParameterDialog)
Q_DECLARE_METATYPE(DialogOutput)

class MainFrameTest : public QObject {
    Q_OBJECT
private slots:
    void startsWithMenuToolbarAndInfoBar();
    void doubleClickOpensTheDialogAndAppliesTheTriple_data();
    void doubleClickOpensTheDialogAndAppliesTheTriple();
    void groupsAndSettingsDoNothingOptionsGoToBoth();
    void gestureRevealsTheCustomCodeEntry_data();
    void gestureRevealsTheCustomCodeEntry();
    void f6MovesBetweenThePanes();
    void statusBarShowsTheLockIndicators();
    void commandStatesFollowTheViewAndTheSelection();
    void layoutPanesRowHeights_data();
    void layoutPanesRowHeights();
    void refusalsWithoutAPort();
    void brokenCatalogueKeepsTheProgramRunning();
    void catalogueInUseComesFromTheConfigFileOrTheOption_data();
    void catalogueInUseComesFromTheConfigFileOrTheOption();
    void startOptions_data();
    void startOptions();
    void helpOpensTheGuideOrSaysWhereItIs();
    void formControlsFollowTheLayout();
    void infoBarColoursAndReset();
    void savePathStore();
    void printRefusesAnEmptyDocument();
    void documentPaneShowsEveryChangeAtOnce();
    void monitorViewRefusesOnceWhenThePortWentAway();
    void clearAsksWithTheExclamationIcon();
};

void MainFrameTest::startsWithMenuToolbarAndInfoBar()
{
    Harness h;
    QVERIFY(h.prompt.shown.empty());
    QCOMPARE(h.tree()->topLevelItemCount(), static_cast<int>(h.form()->Tree().Roots().size()));
    QCOMPARE(h.tree()->topLevelItem(0)->text(0), QString::fromStdString(h.doc.catalogue.treeNodes[0].name));
    QVERIFY(h.form()->MakeBarcodeChecked());
    QCOMPARE(h.form()->CatalogueInUse(), std::string("./config/all.xml"));
    QVERIFY(h.window->CurrentView() == ViewMode::Configuration);
    QCOMPARE(h.window->windowTitle(), QString("Quillon V" QUILLON_VERSION " LNX"));
    QVERIFY(!h.window->windowIcon().isNull());
    QCOMPARE(h.Route(), -1);
    AboutDialog about(h.form()->CatalogueInUse(), h.window->Trace().AboutText());
    QCOMPARE(about.windowTitle(), QStringLiteral("关于配置工具软件"));
    QVERIFY(about.VersionField()->text().contains(QStringLiteral(QUILLON_VERSION)));
    QCOMPARE(about.TraceField()->text(), QString::fromStdString(h.window->Trace().AboutText()));

    // The menus as the operator opens them; the view switches are reached
    // through the toolbar and the tree instead.
    QStringList menus;
    for (QAction* menu : h.window->menuBar()->actions()) {
        QStringList items{menu->text()};
        for (QAction* item : menu->menu()->actions()) {
            if (item->isVisible())
                items << (item->isSeparator() ? QStringLiteral("-") : item->text());
        }
        menus << items.join(QStringLiteral(" | "));
    }
    const QStringList shownMenus = {
        "文件(&F) | 打开配置(&O)...\tCtrl+O | 保存配置(&S)...\tCtrl+S | - | 清空文档(&N)\tCtrl+N | "
        "打印文档(&P)...\tCtrl+P | 打印设置(&R)... | - | 退出(&X)",
        "设备(&S) | 连接设备(&T)\tCtrl+T | 断开设备(&E)\tCtrl+E",
        "工具(&T) | 固件下载(&D)\tCtrl+D | 设备版本(&V)\tCtrl+V | 命令交互(&P)\tCtrl+P",
        "编辑(&E) | 撤消操作(&U)\tCtrl+U | 条码转换(&Y)\tCtrl+Y",
        "监控(&M) | 图像提取(&U)\tCtrl+U | 图像保存(&S)\tCtrl+S | 解码保存(&O)\tCtrl+O",
        "帮助(&H) | 帮助文档(&C)\tCtrl+C | 保存通信记录… | 关于 Quillon(&A)...",
    };
    QCOMPARE(menus, shownMenus);
    QCOMPARE(h.window->Action(CommandId::ConfigurationView)->text(), QStringLiteral("配置界面(&G)\tCtrl+G"));
    QCOMPARE(h.window->Action(CommandId::MonitorView)->text(), QStringLiteral("监控界面(&W)\tCtrl+W"));
    auto* toolBar = h.child<QToolBar>("toolBar");
    QCOMPARE(toolBar->iconSize(), QSize(32, 32));
    const auto layout = ToolbarLayout();
    const QList<QAction*> actions = toolBar->actions();
    QCOMPARE(actions.size(), static_cast<int>(layout.size()));
    for (int i = 0; i < actions.size(); ++i) {
        const CommandId id = layout[static_cast<std::size_t>(i)];
        QCOMPARE(actions[i]->isSeparator(), id == kToolbarSeparator);
        if (id != kToolbarSeparator) {
            QCOMPARE(actions[i], h.window->Action(id));
            QVERIFY(!actions[i]->icon().isNull() && !actions[i]->toolTip().isEmpty());
        }
    }
    QCOMPARE(h.window->Action(CommandId::Connect)->toolTip(), QStringLiteral("连接设备"));
    QCOMPARE(h.window->Action(CommandId::Undo)->text(), QStringLiteral("撤消操作(&U)\tCtrl+U"));
    // The keys belong to the window, one action each, so that a key two
    // commands show goes to the one the view enables; the commands' own
    // actions carry none, or Qt would find them ambiguous.
    for (const CommandInfo& command : Commands())
        QVERIFY(h.window->Action(command.id)->shortcut().isEmpty());
    for (const std::string_view key : CommandKeys()) {
        auto* keyAction = h.window->findChild<QAction*>(QStringLiteral("key ") + Q(key));
        QVERIFY(keyAction);
        QCOMPARE(keyAction->shortcut(), QKeySequence::fromString(Q(key), QKeySequence::PortableText));
    }

    CWndInfoFrm* info = h.window->InfoBar();
    const std::pair<QLabel*, const char*> texts[] = {{info->statusCaption(), "当前状态："},
                                                     {info->statusText(), "未连接设备，脱机"},
                                                     {info->viewCaption(), "当前视图："},
                                                     {info->viewText(), "条码配置"},
                                                     {info->formatCaption(), "输出格式："}};
    for (const auto& [label, text] : texts)
        QCOMPARE(label->text(), QString::fromUtf8(text));
    QCOMPARE(info->formatList()->count(), 2);
    QCOMPARE(info->formatList()->itemText(0) + ',' + info->formatList()->itemText(1), QStringLiteral("GBK,UTF-8"));
    QVERIFY(info->formatList()->isHidden() && info->formatCaption()->isHidden());
    QCOMPARE(info->statusText()->font().family(), QStringLiteral("微软雅黑"));
    QCOMPARE(info->statusText()->font().pointSize(), 10);
    QCOMPARE(info->viewText()->geometry(), QRect(info->viewCaption()->geometry().right() + 6, 10, 225, 20));
}

void MainFrameTest::doubleClickOpensTheDialogAndAppliesTheTriple_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<ParameterDialog>("dialog");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("optionText");
    QTest::addColumn<DialogOutput>("output");
    QTest::addColumn<QString>("applied");  // "'text' length kind caption"; empty: Cancel

    // A few rows for the wiring; every key's dialog and value is in SelectionDispatchTest.
    using enum ParameterDialog;
    QTest::newRow("text") << "51C1" << AddStr << -1 << true << Out("条码") << "'条码' 2 1 ";
    QTest::newRow("server id") << "5042" << DiffResultTime << 7 << false << Out("FF", false, "255") << "'FF' 1 2 255";
    QTest::newRow("no dialog") << "4141" << None << -1 << false << DialogOutput{} << "'' 0 0 ";
    QTest::newRow("cancel") << "3181" << CodeNum << -1 << true << DialogOutput{} << "";
}

void MainFrameTest::doubleClickOpensTheDialogAndAppliesTheTriple()
{
    QFETCH(QString, key);
    QFETCH(ParameterDialog, dialog);
    QFETCH(int, mode);
    QFETCH(bool, optionText);
    QFETCH(DialogOutput, output);
    QFETCH(QString, applied);
    Harness h;
    const int record = h.RecordWith(key.toStdString(), 3);
    QVERIFY2(record >= 0, qPrintable("no option " + key + " in the bundled catalogue"));
    if (!applied.isEmpty())
        h.dialogs.answers.push_back(output);
    h.DoubleClick(h.ItemOf(record));

    QCOMPARE(h.dialogs.calls.size(), std::size_t{dialog != ParameterDialog::None});
    if (dialog != ParameterDialog::None) {
        QCOMPARE(h.dialogs.calls[0].dialog, dialog);
        QCOMPARE(h.dialogs.calls[0].mode, mode);
        QCOMPARE(h.dialogs.calls[0].optionText, optionText ? h.doc.catalogue.treeNodes[std::size_t(record)].name : "");
    }
    // Only the document: the online box is clear.
    const QString entry = QString("document %1 %2 %3").arg(record).arg(h.RecordWith(key.toStdString(), 2)).arg(applied);
    QCOMPARE(h.document.events, applied.isEmpty() ? Strings{} : Strings{entry.toStdString()});
    QCOMPARE(h.Route(), -1);  // nothing went out
}

void MainFrameTest::groupsAndSettingsDoNothingOptionsGoToBoth()
{
    Harness h;
    h.DoubleClick(h.tree()->topLevelItem(0));
    h.DoubleClick(h.ItemOf(h.RecordWith("4141", 2)));
    QTreeWidgetItem* subGroup = h.tree()->topLevelItem(0)->child(0);
    QVERIFY(subGroup->data(0, Qt::UserRole + 1).isValid());
    h.DoubleClick(subGroup);
    QVERIFY(h.dialogs.calls.empty() && h.document.events.empty() && h.prompt.shown.empty());

    // With both boxes ticked an option is added and sent.
    h.doc.portNumber = 3;
    h.child<QCheckBox>("sendToDevice1008")->click();
    QVERIFY(h.form()->SendToDeviceChecked());
    QCOMPARE(h.Route(), 1);
    const std::string option = std::to_string(h.RecordWith("4141", 3));
    h.DoubleClick(h.ItemOf(std::stoi(option)));
    const std::string setting = std::to_string(h.RecordWith("4141", 2));
    QCOMPARE(h.document.events,
             (Strings{"document " + option + " " + setting + " '' 0 0 ", "device " + option + " '' 0 0 route 1"}));
}

void MainFrameTest::gestureRevealsTheCustomCodeEntry_data()
{
    QTest::addColumn<int>("gap");
    QTest::addColumn<bool>("revealed");
    QTest::newRow("399 ms") << 399 << true;
    QTest::newRow("400 ms") << 400 << false;
}

void MainFrameTest::gestureRevealsTheCustomCodeEntry()
{
    QFETCH(int, gap);
    QFETCH(bool, revealed);
    Harness h("./config/config.ini", false);  // the real document
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
    QVERIFY(h.dialogs.calls.empty() && h.doc.entries.empty());
    if (!revealed)
        return;

    // The entry adds a code only with both a code and a description.
    auto* code = h.child<QLineEdit>("code1083");
    auto* note = h.child<QLineEdit>("note1084");
    auto* add = h.child<QPushButton>("add1082");
    code->setText("8265AB");
    add->click();
    QVERIFY(h.doc.entries.empty());
    note->setText(QStringLiteral("自定义"));
    code->clear();
    add->click();
    QVERIFY(h.doc.entries.empty());
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
    h.window->Action(CommandId::ClearDocument)->trigger();
    QVERIFY(h.doc.entries.empty());
    QCOMPARE(h.prompt.Texts(), (std::vector<std::string>{kClearQuestion}));
    QCOMPARE(h.prompt.shown[0].kind, RecordingPrompt::Shown::Warning);

    // A catalogue load hides the code box only.
    h.form()->LoadCatalogue();
    QVERIFY(h.child<QWidget>("code1083")->isHidden());
    QVERIFY(h.child<QWidget>("add1082")->isVisible());
    QCOMPARE(h.form()->Gesture().State(), std::int64_t{-1});
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

void MainFrameTest::statusBarShowsTheLockIndicators()
{
    Harness h;
    QLabel* caps = h.child<QLabel>("capsIndicator");
    QLabel* num = h.child<QLabel>("numIndicator");
    QLabel* scroll = h.child<QLabel>("scrollIndicator");
    QVERIFY(caps->isVisible() && caps->text().isEmpty() && num->text().isEmpty() && scroll->text().isEmpty());
    auto key = [&](QEvent::Type type, int code, quint32 state) {
        QKeyEvent event(type, code, Qt::NoModifier, 0, 0, state);
        QApplication::sendEvent(h.window->windowHandle(), &event);
    };
    key(QEvent::KeyRelease, Qt::Key_CapsLock, LockIndicators::kCapsLockMask | LockIndicators::kNumLockMask);
    QCOMPARE(caps->text(), QStringLiteral("CAP"));
    QCOMPARE(num->text(), QStringLiteral("NUM"));
    key(QEvent::KeyRelease, Qt::Key_NumLock, LockIndicators::kCapsLockMask);
    QCOMPARE(num->text(), QString());
    QCOMPARE(caps->text(), QStringLiteral("CAP"));
    key(QEvent::KeyPress, Qt::Key_ScrollLock, LockIndicators::kCapsLockMask);
    QCOMPARE(scroll->text(), QStringLiteral("SCRL"));
    key(QEvent::KeyRelease, Qt::Key_ScrollLock, LockIndicators::kCapsLockMask);
    key(QEvent::KeyPress, Qt::Key_ScrollLock, LockIndicators::kCapsLockMask);
    QCOMPARE(scroll->text(), QString());
}

void MainFrameTest::commandStatesFollowTheViewAndTheSelection()
{
    Harness h;
    auto* toolBar = h.child<QToolBar>("toolBar");
    using enum CommandId;
    const std::set<CommandId> configurationOnly = {Print, Undo, ConvertDocument, OpenProfile, SaveProfile};
    const std::set<CommandId> monitorOnly = {ImageExtract, ImageSave, DecodedOutputSave};
    auto check = [&](bool monitor) {
        for (const CommandInfo& command : Commands()) {
            const bool expected = configurationOnly.contains(command.id) ? !monitor
                                  : monitorOnly.contains(command.id)     ? monitor
                                                                         : true;
            QAction* action = h.window->Action(command.id);
            QCOMPARE(action->isEnabled(), expected);
            if (QWidget* button = toolBar->widgetForAction(action))
                QCOMPARE(button->isEnabled(), expected);
        }
    };
    check(false);

    h.doc.portNumber = 2;
    h.window->Action(CommandId::MonitorView)->trigger();
    QVERIFY(h.window->CurrentView() == ViewMode::Monitor);
    check(true);
    QVERIFY(h.form()->DecodeOutputChecked());
    QCOMPARE(h.Route(), 2);
    QCOMPARE(h.window->InfoBar()->viewText()->text(), QStringLiteral("解码输出"));
    QVERIFY(h.window->InfoBar()->formatList()->isVisible());
    QVERIFY(h.child<QCheckBox>("makeBarcode1007")->isHidden());
    QVERIFY(h.child<QCheckBox>("decodeOutput1020")->isHidden());
    QCOMPARE(h.tree()->y(), 0);

    // A second switch runs nothing again.
    LinkOperation console = h.window->Session().Link().Begin(ReplyRoute::CommandInteraction);
    h.window->SwitchToMonitorView();
    QCOMPARE(h.Route(), 7);
    h.window->Session().Link().End(console);

    // Choosing a setting returns to the configuration view and shows its description.
    const int record = h.RecordWith("4141", 3);
    h.tree()->setCurrentItem(h.ItemOf(record));
    QVERIFY(h.window->CurrentView() == ViewMode::Configuration);
    auto* description = h.child<QPlainTextEdit>("description1006");
    QVERIFY(!description->toPlainText().isEmpty());
    QCOMPARE(description->toPlainText().toStdString(),
             h.doc.catalogue.treeNodes[static_cast<std::size_t>(record)].info);
    h.tree()->setCurrentItem(h.tree()->topLevelItem(0));
    QVERIFY(description->toPlainText().isEmpty());
    QCOMPARE(h.Route(), -1);
    check(false);
    QCOMPARE(h.window->InfoBar()->viewText()->text(), QStringLiteral("条码配置"));
    QVERIFY(h.window->InfoBar()->formatList()->isHidden());
    QVERIFY(h.child<QCheckBox>("makeBarcode1007")->isVisible());
    QVERIFY(h.tree()->y() > 0);
    console = h.window->Session().Link().Begin(ReplyRoute::CommandInteraction);
    h.window->SwitchToConfigurationView();  // already there: nothing
    QCOMPARE(h.Route(), 7);
    h.window->Session().Link().End(console);
    QVERIFY(h.prompt.shown.empty());
}

// Row 0's share of the inner splitter's height H.
enum Share { Half, TwoThirds, Nothing };
Q_DECLARE_METATYPE(Share)

void MainFrameTest::layoutPanesRowHeights_data()
{
    // Each box reaches the layout in its view; every case of the rule is in
    // PaneLayoutTest and the refusal is in refusalsWithoutAPort.
    QTest::addColumn<bool>("monitor");
    QTest::addColumn<bool>("first");   // barcode, or decoded output
    QTest::addColumn<bool>("second");  // device, or image
    QTest::addColumn<Share>("share");
    QTest::newRow("barcode and device") << false << true << true << TwoThirds;
    QTest::newRow("image") << true << false << true << Nothing;
    QTest::newRow("decoded and image") << true << true << true << Half;
}

void MainFrameTest::layoutPanesRowHeights()
{
    QFETCH(bool, monitor);
    QFETCH(bool, first);
    QFETCH(bool, second);
    QFETCH(Share, share);
    Harness h;
    const int H = h.H();
    QCOMPARE(h.Rows(), (QList<int>{H, 0}));  // barcode only, at start
    h.doc.portNumber = 1;
    if (monitor) {
        h.window->SwitchToMonitorView();
        h.form()->SetDecodeOutputChecked(first);
        h.child<QCheckBox>("imageExtract1024")->setChecked(second);
    } else {
        h.child<QCheckBox>("makeBarcode1007")->setChecked(first);
        h.form()->SetSendToDeviceChecked(second);
    }
    h.window->LayoutPanes();
    const int top = share == Half ? H / 2 : share == TwoThirds ? 2 * H / 3 : 0;
    QCOMPARE(h.Rows(), (QList<int>{top, H - top}));
    QVERIFY(h.prompt.shown.empty());
}

void MainFrameTest::refusalsWithoutAPort()
{
    Harness h;
    for (CommandId command : {CommandId::MonitorView, CommandId::CommandInteraction, CommandId::DeviceVersion}) {
        h.prompt.shown.clear();
        h.window->Action(command)->trigger();
        QCOMPARE(h.prompt.Texts(), (std::vector<std::string>{kNoPort}));
        QCOMPARE(h.prompt.shown[0].kind, RecordingPrompt::Shown::Error);
    }
    QVERIFY(h.window->CurrentView() == ViewMode::Configuration);

    // The online box refuses too and stays clear; nothing is laid out anew.
    h.prompt.shown.clear();
    const QList<int> before = h.Rows();
    h.child<QCheckBox>("sendToDevice1008")->click();
    QCOMPARE(h.prompt.Texts(), (std::vector<std::string>{kNoPort}));
    QVERIFY(!h.form()->SendToDeviceChecked());
    QCOMPARE(h.Rows(), before);

    // Image extraction from the form refuses as well.
    h.prompt.shown.clear();
    h.form()->AskImageSize(640, 480);
    QCOMPARE(h.prompt.Texts(), (std::vector<std::string>{kNoPort}));
}

void MainFrameTest::brokenCatalogueKeepsTheProgramRunning()
{
    // A missing file, and an empty key, which names no file at all (not the
    // all.xml that may stand beside the configuration file).
    for (const char* name : {"missing-catalogue.xml", ""}) {
        test::TempDir dir;
        dir.Write("all.xml", "<CODEBAR_APP/>");
        const std::string ini = dir.Write("config.ini", std::string("[COMMON]\nBSPXML = ") + name + "\n");
        Harness h(ini);
        if (*name != '\0')
            QCOMPARE(h.form()->CatalogueInUse(), (dir.Path() / name).string());
        QCOMPARE(h.prompt.Texts(), (std::vector<std::string>{"配置文件设置错误，无法完成初始化！"}));
        QCOMPARE(h.tree()->topLevelItemCount(), 0);
        QVERIFY(h.window->isVisible());
    }
}

void MainFrameTest::catalogueInUseComesFromTheConfigFileOrTheOption_data()
{
    QTest::addColumn<bool>("configElsewhere");
    QTest::addColumn<bool>("option");
    QTest::addColumn<QString>("firstGroup");
    QTest::newRow("working folder's config.ini") << false << false << QStringLiteral("通讯设置");
    QTest::newRow("config.ini elsewhere, catalogue beside it") << true << false << QStringLiteral("MINE");
    QTest::newRow("--catalogue wins over config.ini") << false << true << QStringLiteral("MINE");
}

// The about box names the file the tree was loaded from, whichever way it
// was chosen.
void MainFrameTest::catalogueInUseComesFromTheConfigFileOrTheOption()
{
    QFETCH(bool, configElsewhere);
    QFETCH(bool, option);
    QFETCH(QString, firstGroup);
    test::TempDir dir;
    const std::string ini = dir.Write("config.ini", "[Common]\nbspxml=mine.xml\n");
    const std::string mine = dir.Write(
        "mine.xml", "<CODEBAR_APP><CODEBAR_SET><TYPE_INFO><TYPE_NAME>MINE</TYPE_NAME><SUB_TYPE_INFO><TYPE_NAME>"
                    "</TYPE_NAME><ITEM_INFO><ITEM_NAME>x</ITEM_NAME><PIDFID>4141</PIDFID><CMD_TYPE>21</CMD_TYPE>"
                    "<SUBITEM><SUBITEM_NAME>y</SUBITEM_NAME><SUBITEM_CODE>03</SUBITEM_CODE></SUBITEM></ITEM_INFO>"
                    "</SUB_TYPE_INFO></TYPE_INFO></CODEBAR_SET></CODEBAR_APP>");
    Harness h(configElsewhere ? ini : kDefaultConfigFile, true, option ? mine : std::string());
    const std::string expected = configElsewhere || option ? mine : std::string("./config/all.xml");
    QCOMPARE(h.form()->CatalogueInUse(), expected);
    QCOMPARE(h.tree()->topLevelItem(0)->text(0), firstGroup);
    const AboutDialog about(h.form()->CatalogueInUse(), std::string());
    QCOMPARE(about.CatalogueField()->text(), QFileInfo(QString::fromStdString(expected)).absoluteFilePath());
}

void MainFrameTest::startOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");  // -1: the program goes on
    QTest::addColumn<QString>("catalogue");
    QTest::addColumn<int>("language");  // -1: the locale's
    const int english = static_cast<int>(Language::English);
    const int chinese = static_cast<int>(Language::Chinese);
    QTest::newRow("nothing") << QStringList{"quillon"} << -1 << QString() << -1;
    QTest::newRow("--catalogue FILE") << QStringList{"quillon", "--catalogue", "/tmp/a b.xml"} << -1 << "/tmp/a b.xml"
                                      << -1;
    QTest::newRow("--catalogue=FILE") << QStringList{"quillon", "--catalogue=其他.xml"} << -1 << "其他.xml" << -1;
    QTest::newRow("--lang en") << QStringList{"quillon", "--lang", "en"} << -1 << QString() << english;
    QTest::newRow("--lang=zh") << QStringList{"quillon", "--lang=zh"} << -1 << QString() << chinese;
    QTest::newRow("--version") << QStringList{"quillon", "--version"} << 0 << QString() << -1;
    QTest::newRow("no FILE") << QStringList{"quillon", "--catalogue"} << 2 << QString() << -1;
    QTest::newRow("unknown option") << QStringList{"quillon", "--bogus"} << 2 << QString() << -1;
    QTest::newRow("stray argument") << QStringList{"quillon", "file.xml"} << 2 << QString() << -1;
    QTest::newRow("unknown language") << QStringList{"quillon", "--lang", "fr"} << 2 << QString() << -1;
}

void MainFrameTest::startOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, catalogue);
    QFETCH(int, language);
    StartOptions options;
    QCOMPARE(options.Parse(arguments).value_or(-1), status);
    if (status == -1)
        QCOMPARE(QString::fromStdString(options.Catalogue()), catalogue);
    if (language != -1)
        QCOMPARE(static_cast<int>(options.InterfaceLanguage()), language);
}

void MainFrameTest::helpOpensTheGuideOrSaysWhereItIs()
{
    Harness h;
    test::TempDir dir;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QString::fromStdString(dir.Path().string())));
    h.window->Action(CommandId::Help)->trigger();
    dir.Write("帮助文档.docx", "PK");
    h.window->Action(CommandId::Help)->trigger();
    QDir::setCurrent(previous);
    QCOMPARE(h.opened.size(), 2);
    QCOMPARE(h.opened[0], QString::fromStdString(h.helpGuide));
    QVERIFY(h.opened[1].endsWith(QStringLiteral("/帮助文档.docx")));  // the operator's own, as always
    QVERIFY(QFileInfo(h.opened[1]).isAbsolute());
    QVERIFY(h.prompt.shown.empty());

    h.viewerPresent = false;
    h.window->Action(CommandId::Help)->trigger();
    QCOMPARE(h.prompt.shown.size(), std::size_t(1));
    QCOMPARE(h.prompt.shown[0].text, HelpNotOpenedText(h.helpGuide, true));
    QVERIFY(h.prompt.shown[0].text.find(h.helpGuide) != std::string::npos);
    QCOMPARE(InstalledGuide("/usr/bin/quillon", Language::Chinese),
             std::string("/usr/share/doc/quillon/guide/index.html"));
    QCOMPARE(InstalledGuide("/usr/bin/quillon", Language::English),
             std::string("/usr/share/doc/quillon/guide/en/index.html"));
}

void MainFrameTest::formControlsFollowTheLayout()
{
    Harness h;
    CFormTree* form = h.form();
    const FormTreeGeometry g = LayoutFormControls(form->width(), form->height(), ViewMode::Configuration);
    for (const auto& [name, r] : {std::pair{"makeBarcode1007", g.makeBarcode},
                                  {"qrCode1081", g.qrCode},
                                  {"tree1003", g.tree},
                                  {"description1006", g.description}})
        QCOMPARE(h.child<QWidget>(name)->geometry(), QRect(r.x, r.y, r.width, r.height));
    // Captions too long for their cell go on two lines rather than being cut.
    for (const char* name : {"makeBarcode1007", "invertColours1009", "sendToDevice1008", "qrCode1081"}) {
        auto* box = h.child<QCheckBox>(name);
        QVERIFY2(box->text().count('\n') <= 1, name);
        QCOMPARE(box->text().remove('\n'), box->property("caption").toString());
    }
    // Clicking a box and resizing the window lay the rows out again.
    h.child<QCheckBox>("makeBarcode1007")->click();
    QCOMPARE(h.Rows(), (QList<int>{h.H() / 2, h.H() - h.H() / 2}));
    const int before = h.H();
    h.window->resize(1000, 640);
    QTRY_COMPARE(h.Rows(), (QList<int>{h.H() / 2, h.H() - h.H() / 2}));
    QVERIFY(h.H() != before);
    // Dragging the splitter re-lays the form and moves the view caption with it.
    h.window->OuterSplitter()->setSizes({500, h.window->OuterSplitter()->width() - 500});
    QTRY_COMPARE(form->width(), 500);
    QCOMPARE(h.tree()->width(), 498);
    QTRY_COMPARE(h.window->InfoBar()->viewCaption()->x(),
                 h.window->centralWidget()->width() - h.window->InnerSplitter()->width());
}

void MainFrameTest::infoBarColoursAndReset()
{
    // Hosted as in the window: a toolbar must not turn the texts into button text.
    QToolBar host;
    auto* bar = new CWndInfoFrm;
    host.addWidget(bar);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    CWndInfoFrm& info = *bar;
    QVERIFY(DrawnIn(info.statusText(), QColor(255, 0, 0)));
    QVERIFY(DrawnIn(info.viewText(), QColor(0, 125, 255)));
    QVERIFY(!DrawnIn(info.statusCaption(), QColor(255, 0, 0)));
    info.SetConnected(5);
    QVERIFY(info.Connected());
    QCOMPARE(info.statusText()->text(), QStringLiteral("COM5，联机"));
    QVERIFY(DrawnIn(info.statusText(), QColor(0, 125, 255)));
    QVERIFY(!DrawnIn(info.statusText(), QColor(255, 0, 0)));
    info.SetView("解码输出", true);
    info.formatList()->setCurrentIndex(1);
    QCOMPARE(info.OutputFormat(), 1);
    info.Reset();
    QVERIFY(!info.Connected());
    QCOMPARE(info.statusText()->text(), QStringLiteral("未连接设备，脱机"));
    QVERIFY(DrawnIn(info.statusText(), QColor(255, 0, 0)));
    QCOMPARE(info.OutputFormat(), 0);
    QVERIFY(info.formatList()->isHidden());
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

void MainFrameTest::printRefusesAnEmptyDocument()
{
    Harness h("./config/config.ini", false);
    QVERIFY(qobject_cast<CRightView*>(h.window->DocumentPane()));
    h.window->Action(CommandId::Print)->trigger();
    QCOMPARE(h.prompt.Texts(), (std::vector<std::string>{kNothingToPrintText}));
    QCOMPARE(h.prompt.shown[0].kind, RecordingPrompt::Shown::Error);
}

void MainFrameTest::documentPaneShowsEveryChangeAtOnce()
{
    Harness h("./config/config.ini", false);  // the real document
    QVERIFY(h.dialogs.calls.empty());
    const auto screen = [&h] { return test::DocumentPaneOnScreen(*h.window); };
    const QImage blank = screen();
    const double unit = h.window->DocumentPane()->logicalDpiX() / 96.0;
    QCOMPARE(unit, 1.0);                                     // screen coordinates are view units below
    QVERIFY(DarkIn(blank, QRect(0, 0, blank.width(), 52)));  // the header
    QVERIFY(!DarkIn(blank, QRect(0, 60, blank.width(), blank.height() - 60)));

    // An option double-clicked: its bars are on the screen without a resize.
    QVERIFY(test::OperatorDoubleClick(h.tree(), h.ItemOf(h.RecordWith("4141", 3))));
    QTRY_COMPARE(h.doc.entries.size(), std::size_t{1});
    const CodeInfo first = h.doc.entries[0];
    QTRY_COMPARE(test::SymbolsIn(screen(), test::EntryBars(first), ZXing::BarcodeFormat::Code128),
                 Strings{first.codeText});

    // A custom code added with the ADD button shows below it.
    const int marker = h.RecordWith("8265", 2);
    h.DoubleClick(h.ItemOf(marker));
    h.DoubleClick(h.ItemOf(marker));
    h.child<QLineEdit>("code1083")->setText("8265AB");
    h.child<QLineEdit>("note1084")->setText(QStringLiteral("自定义"));
    QVERIFY(test::OperatorClick(h.child<QPushButton>("add1082")));
    QTRY_COMPARE(h.doc.entries.size(), std::size_t{2});
    const CodeInfo second = h.doc.entries[1];
    QTRY_COMPARE(test::SymbolsIn(screen(), test::EntryBars(second), ZXing::BarcodeFormat::Code128), Strings{"8265AB"});

    // Undo takes it off the screen.
    h.window->Action(CommandId::Undo)->trigger();
    QTRY_VERIFY(!DarkIn(screen(), test::EntryBars(second)));
    QVERIFY(DarkIn(screen(), test::EntryBars(first)));

    // The conversion shows one QR Code in place of the list, and back.
    h.child<QCheckBox>("qrCode1081")->setChecked(true);
    h.window->Action(CommandId::ConvertDocument)->trigger();
    QTRY_COMPARE(test::SymbolsIn(screen(), QRect(QPoint(0, 60), blank.size()), ZXing::BarcodeFormat::QRCode),
                 Strings{first.codeText});
    h.window->Action(CommandId::ConvertDocument)->trigger();
    QTRY_COMPARE(test::SymbolsIn(screen(), test::EntryBars(first), ZXing::BarcodeFormat::Code128),
                 Strings{first.codeText});

    // Clear empties the screen.
    h.window->Action(CommandId::ClearDocument)->trigger();
    QTRY_VERIFY(!DarkIn(screen(), QRect(0, 60, blank.width(), blank.height() - 60)));

    // The monitor view shows the decoded output's heading in place of the
    // document's title, and the configuration view brings the title back.
    const QRect heading(10, 10, 120, 16);
    const QRect title(4 * h.window->findChild<CRightView*>()->ClientWidthUnits() / 5, 30, 100, 16);
    h.doc.portNumber = 1;
    h.doc.decodedLines = {{"decoded"}};
    h.window->Action(CommandId::MonitorView)->trigger();
    QTRY_VERIFY(DarkIn(screen(), heading) && !DarkIn(screen(), title));
    h.window->SwitchToConfigurationView();
    QTRY_VERIFY(!DarkIn(screen(), heading) && DarkIn(screen(), title));
    QCOMPARE(h.prompt.Texts(), (Strings{kClearQuestion}));
}

void MainFrameTest::monitorViewRefusesOnceWhenThePortWentAway()
{
    Harness h;
    h.doc.portNumber = 1;
    h.window->SwitchToMonitorView();
    h.child<QCheckBox>("imageExtract1024")->setChecked(true);
    QVERIFY(h.form()->DecodeOutputChecked());
    h.doc.portNumber = 0;  // the port went away
    for (const int width : {1100, 1000, 1150}) {
        h.window->resize(width, 780);
        QTRY_COMPARE(h.window->width(), width);
        QApplication::processEvents();
    }
    QCOMPARE(h.prompt.Texts(), (Strings{kNoPort}));
    QVERIFY(!h.form()->DecodeOutputChecked() && !h.form()->ImageExtractChecked());
    QCOMPARE(h.Route(), -1);
    QCOMPARE(h.Rows(), (QList<int>{h.H() / 2, h.H() - h.H() / 2}));
}

void MainFrameTest::clearAsksWithTheExclamationIcon()
{
    // The real message boxes, answered as the operator would.
    QWidget parent;
    QtPrompt prompt(&parent);
    struct Case {
        bool warning;
        QMessageBox::Icon icon;
        QMessageBox::StandardButton answer;
    } const cases[] = {{true, QMessageBox::Warning, QMessageBox::Cancel},
                       {true, QMessageBox::Warning, QMessageBox::Ok},
                       {false, QMessageBox::Question, QMessageBox::Ok}};
    // Asked while the program shows it is busy (a port opening), a box has
    // the ordinary pointer, and the busy one comes back after it.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    for (const Case& c : cases) {
        QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons shownButtons;
        Qt::CursorShape shownCursor = Qt::BlankCursor;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            shownIcon = box->icon();
            shownButtons = box->standardButtons();
            shownCursor = QApplication::overrideCursor()->shape();
            box->button(c.answer)->click();
        });
        const bool ok = c.warning ? prompt.WarnOkCancel(kClearQuestion) : prompt.AskOkCancel(kDuplicateQuestion);
        QCOMPARE(shownIcon, c.icon);
        QCOMPARE(shownButtons, QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(ok, c.answer == QMessageBox::Ok);
        QCOMPARE(shownCursor, Qt::ArrowCursor);
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    QApplication::restoreOverrideCursor();
}

QTEST_MAIN(MainFrameTest)
#include "MainFrameTest.moc"
