#include "app/CommandTable.h"
#include "app/HelpGuide.h"
#include "app/MainFrame.h"
#include "app/QtLanguage.h"
#include "app/WndInfoFrm.h"
#include "catalogue/FormTree.h"
#include "catalogue/FormTreeLayout.h"
#include "device/ReadToolsVer.h"
#include "dialogs/AddStrDlg.h"
#include "dialogs/ParameterDialogBase.h"
#include "serial/RsParaSet.h"
#include "sim/SimProcess.h"
#include "support/MainWindowHarness.h"
#include "support/PageImages.h"
#include "support/ProgramRun.h"
#include "support/RecordingTargets.h"
#include "support/WindowDriving.h"
#include "tools/ComDebugDlg.h"
#include "views/RightView.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>

using namespace quillon;

// The window as an operator meets it on a desktop: keys and clicks through
// the X server (xdotool) under a window manager, what the screen shows
// grabbed from it, what reaches the simulated device read from its log.
namespace {

constexpr int kWait = 20000;

// Steps as "type:TEXT", "key:NAME" or "click:OBJECT" (a child of the dialog).
bool Operate(QWidget* dialog, const QStringList& steps)
{
    for (const QString& step : steps) {
        const QString what = step.section(':', 1);
        bool done = false;
        if (step.startsWith("type:"))
            done = test::Type(what);
        else if (step.startsWith("key:"))
            done = test::Press({what});
        else if (auto* target = dialog->findChild<QWidget*>(what))
            done = test::OperatorClick(target);
        if (!done)
            return false;
    }
    return true;
}

QString FocusName()
{
    const QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QString();
}

// The real window with the real parameter dialogs; the document and the
// device are recorders unless the test talks to the simulator.
struct Desk : test::MainWindowHarness {
    explicit Desk(QSize size = {1200, 800}, bool recorders = true)
    {
        MainFrameParts parts = Parts();
        parts.dialogs = nullptr;
        if (recorders) {
            parts.document = &targets;
            parts.device = &targets;
        }
        parts.openDocument = [this](const QString& path) {
            opened << path;
            return true;
        };
        parts.helpGuide = QUILLON_SOURCE_DIR "/data/guide/index.html";
        parts.chooseOpenFile = [this](const QString&, const QString&) {
            chosen << "open";
            return QString();
        };
        parts.chooseSaveFile = [this](const QString&, const QString&) {
            chosen << "save";
            return QString();
        };
        QVERIFY(Open(parts, size));
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        tree()->setFocus();
    }
    ~Desk() { window.reset(); }

    QString StatusText() const { return window->InfoBar()->statusText()->text(); }
    // A key on the window once it is active again (after a dialog closed).
    bool Key(const char* name) const
    {
        return QTest::qWaitForWindowActive(window.get()) && test::XDoTool({"key", "--clearmodifiers", name});
    }

    test::RecordingTargets targets;
    QStringList opened;
    QStringList chosen;
};

// What the window said in message boxes, for a failure's report.
std::string Said(const Desk& d)
{
    std::string said;
    for (const auto& shown : d.prompt.shown)
        said += "[" + shown.text + "]";
    return said;
}

// Connected, and the read-back that follows the connect has ended.
bool WaitOnline(const Desk& d)
{
    return QTest::qWaitFor([&] { return d.StatusText() == QStringLiteral("COM9，联机") && !d.ReadBusy(); }, kWait);
}

}  // namespace

class OperatorWalkTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void everyDialogTakesTypingAtOnce_data();
    void everyDialogTakesTypingAtOnce();
    void addTextOnlineSendsBackWhatTheDeviceHolds();
    void everyShownShortcutWorksInItsView();
    void printsIntoAPdfFileJobAfterJob();
    void layoutAt800And1600Pixels();
};

void OperatorWalkTest::initTestCase()
{
    if (!test::OnRealDisplay())
        QSKIP("needs a real X server with a window manager (tests/support/on-desktop)");
    QVERIFY(InstallInterfaceLanguage(*qApp, Language::Chinese));
}

void OperatorWalkTest::everyDialogTakesTypingAtOnce_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("focus");  // where typing goes when it opens
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("value");  // what the document receives
    const QString enter = "key:Return";
    QTest::newRow("same-result interval") << "64820000"
                                          << "field" << QStringList{"type:100", enter} << "'0064' 2 2";
    QTest::newRow("trigger time-out") << "61820000"
                                      << "field" << QStringList{"type:3000", enter} << "'0BB8' 2 2";
    QTest::newRow("exposure") << "71810000"
                              << "field" << QStringList{"type:3000", enter} << "'0bb8' 2 2";
    QTest::newRow("code count, arrow keys") << "31810000"
                                            << "field" << QStringList{"key:Up", "key:Up", enter} << "'0004' 2 2";
    QTest::newRow("multi-code time-out") << "31830000"
                                         << "field" << QStringList{"type:65535", enter} << "'FFFF' 2 2";
    QTest::newRow("separator") << "31C40000"
                               << "field" << QStringList{"type:,;", enter} << "',;' 2 1";
    QTest::newRow("output order") << "31860000"
                                  << "anyOrder" << QStringList{enter} << "'0000' 2 2";
    QTest::newRow("M1 block") << "45CE0000"
                              << "sector"
                              << QStringList{"type:1", "key:Tab", "type:2", "click:key", "type:A1B2C3D4E5F6", enter}
                              << "'6006A1B2C3D4E5F6' 8 3";
    QTest::newRow("add text") << "51C10000"
                              << "text" << QStringList{"type:AB", enter} << "'AB' 2 1";
}

void OperatorWalkTest::everyDialogTakesTypingAtOnce()
{
    QFETCH(QString, code);
    QFETCH(QString, focus);
    QFETCH(QStringList, steps);
    QFETCH(QString, value);
    Desk d;
    const int record = d.RecordWith(code.toStdString(), 3);
    QVERIFY(record >= 0);
    QString focused, selected, text;
    bool operated = false;
    test::WhenShown<ParameterDialogBase>([&](ParameterDialogBase* dialog) {
        focused = FocusName();
        if (auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget())) {
            selected = field->selectedText();
            text = field->text();
        }
        test::Keep(test::OnScreen(dialog), "dialog-" + code);
        operated = Operate(dialog, steps);
    });
    QVERIFY(test::OperatorDoubleClick(d.tree(), d.ItemOf(record)));
    QVERIFY(QTest::qWaitFor([&] { return !d.targets.events.empty(); }, kWait));
    QVERIFY(operated);
    QCOMPARE(focused, focus);
    QCOMPARE(selected, text);  // a pre-filled value is replaced by what is typed
    QVERIFY2(QString::fromStdString(d.targets.events.front()).contains(value), d.targets.events.front().c_str());
    QVERIFY(d.prompt.shown.empty());
}

void OperatorWalkTest::addTextOnlineSendsBackWhatTheDeviceHolds()
{
    test::SimForTool sim(test::WithBundledCatalogue());
    Desk d({1200, 800}, false);
    QString description;
    bool descriptionShown = false;
    test::WhenShown<CRsParaSet>([&](CRsParaSet* dialog) {
        auto* label = dialog->findChild<QLabel*>("portDescription");
        test::TypePort(dialog, "COM9");
        descriptionShown = QTest::qWaitFor([&] { return !label->text().isEmpty() && test::TextOnScreen(label); }, 5000);
        description = label->text();
        test::Keep(test::OnScreen(dialog), "port-dialog");
        test::Press({"Return"});
    });
    QVERIFY(d.Key("ctrl+t"));
    QVERIFY2(WaitOnline(d), qPrintable(d.StatusText() + " " + QString::fromStdString(Said(d))));
    QVERIFY2(description.contains(QString::fromStdString(sim.DevicePath())), qPrintable(description));
    QVERIFY(descriptionShown);
    QVERIFY(test::OperatorClick(d.child<QCheckBox>("sendToDevice1008")));
    QTRY_VERIFY(d.form()->SendToDeviceChecked());

    const int record = d.RecordWith("51C10000", 3);
    QTreeWidgetItem* item = d.ItemOf(record);
    // The operator sets the prefix A, CR, B as hex bytes.
    QString firstFocus;
    bool hexTicked = false;
    test::WhenShown<CAddStrDlg>([&](CAddStrDlg* dialog) {
        firstFocus = FocusName();
        test::Type("410D42");
        test::Press({"Tab", "Tab", "Tab", "space"});  // past the tab and line-break boxes to HEX
        hexTicked = QTest::qWaitFor([dialog] { return dialog->findChild<QCheckBox*>("hex")->isChecked(); }, 5000);
        test::Press({"Return"});
    });
    QVERIFY(test::OperatorDoubleClick(d.tree(), item));
    QVERIFY(QTest::qWaitFor([&] { return !firstFocus.isEmpty(); }, kWait));
    QCOMPARE(firstFocus, QStringLiteral("text"));
    QVERIFY(hexTicked);
    const std::string written = sim.WaitForLine("write ", std::chrono::milliseconds(kWait));
    QVERIFY2(written.find("51c10003410d42 applied") != std::string::npos, written.c_str());
    QTRY_VERIFY_WITH_TIMEOUT(item->text(0).endsWith(QStringLiteral("* : A(x0D)B")), kWait);

    // Opened again, it holds those bytes; OK alone writes them back as they are.
    QString shown, selected;
    bool hex = false, fieldShown = false;
    test::WhenShown<CAddStrDlg>([&](CAddStrDlg* dialog) {
        auto* field = dialog->findChild<QLineEdit*>("text");
        shown = field->text();
        selected = field->selectedText();
        hex = dialog->findChild<QCheckBox*>("hex")->isChecked();
        fieldShown = test::ShownSoon(field);
        test::Keep(test::OnScreen(dialog), "add-text-online");
        test::Press({"Return"});
    });
    QVERIFY(test::OperatorDoubleClick(d.tree(), item));
    // The window's loop runs the dialog; the simulator's log is read after.
    QVERIFY(QTest::qWaitFor([&] { return !shown.isEmpty() && !QApplication::activeModalWidget(); }, kWait));
    const std::string again = sim.WaitForLine("write ", std::chrono::milliseconds(kWait));
    QVERIFY2(again.find("51c10003410d42 applied") != std::string::npos, again.c_str());
    QCOMPARE(shown, QStringLiteral("410d42"));
    QCOMPARE(selected, shown);
    QVERIFY(hex);
    QVERIFY(fieldShown);
    QVERIFY(d.prompt.shown.empty());
}

void OperatorWalkTest::everyShownShortcutWorksInItsView()
{
    test::SimForTool sim(test::WithBundledCatalogue());
    Desk d({1200, 800}, false);
    for (int i = 0; i < 3; ++i)
        d.doc.AddEntry("<AW>6100" + std::to_string(i), "设置" + std::to_string(i));
    d.window->RedrawDocumentPane();
    int firmware = 0;
    d.window->SetFirmwareDownload([&] { ++firmware; });
    // The configuration view.
    bool portDialog = false, printDialog = false;
    test::WhenShown<CRsParaSet>([&](CRsParaSet*) {
        portDialog = true;
        test::Press({"Escape"});
    });
    QVERIFY(d.Key("ctrl+t"));
    QTRY_VERIFY_WITH_TIMEOUT(portDialog, kWait);
    QVERIFY(d.Key("ctrl+d"));
    QTRY_COMPARE(firmware, 1);
    QVERIFY(d.Key("ctrl+e"));
    QVERIFY(d.Key("ctrl+u"));
    QTRY_COMPARE(d.doc.entries.size(), std::size_t(2));
    QVERIFY(d.Key("ctrl+z"));
    QTRY_COMPARE(d.doc.entries.size(), std::size_t(1));
    QVERIFY(d.Key("ctrl+y"));
    QTRY_COMPARE(d.doc.displayMode, static_cast<int>(CQuillonDoc::kShowConversion));
    // The profile commands ask for a file, or first whether to go on.
    const auto answered = [&] { return d.chosen.size() + static_cast<int>(d.prompt.shown.size()); };
    QVERIFY(d.Key("ctrl+o"));
    QTRY_VERIFY(answered() >= 1);
    const int afterOpen = answered();
    QVERIFY(d.Key("ctrl+s"));
    QTRY_VERIFY(answered() > afterOpen);
    d.window->DocumentPane()->setFocus();
    QVERIFY(d.Key("ctrl+c"));
    QTRY_COMPARE(d.opened.size(), 1);

    // The monitor view, with a device: the keys the two views share go to
    // the commands enabled here.
    test::WhenShown<CRsParaSet>([&](CRsParaSet* dialog) {
        test::TypePort(dialog, "COM9");
        test::Press({"Return"});
    });
    QVERIFY(d.Key("ctrl+t"));
    QVERIFY2(WaitOnline(d), qPrintable(d.StatusText() + " " + QString::fromStdString(Said(d))));
    // The settings tree keeps the keys it does not use for the window.
    bool version = false;
    test::WhenShown<CReadToolsVer>([&](CReadToolsVer* dialog) {
        version = true;
        dialog->reject();
    });
    d.tree()->setFocus();
    QVERIFY(d.Key("ctrl+v"));
    QTRY_VERIFY_WITH_TIMEOUT(version, kWait);
    d.tree()->setFocus();
    QTRY_VERIFY(d.tree()->hasFocus());
    QVERIFY(d.Key("ctrl+w"));
    QTRY_COMPARE(d.window->CurrentView(), ViewMode::Monitor);
    bool console = false;
    test::WhenShown<CComDebugDlg>([&](CComDebugDlg* dialog) {
        console = true;
        dialog->reject();
    });
    QVERIFY(d.Key("ctrl+p"));
    QTRY_VERIFY_WITH_TIMEOUT(console, kWait);
    const int beforeSaves = answered();
    QVERIFY(d.Key("ctrl+o"));
    QVERIFY(d.Key("ctrl+s"));
    // Nothing captured yet: each save says so, or asks for a file.
    QTRY_COMPARE(answered(), beforeSaves + 2);
    QVERIFY(d.Key("ctrl+g"));
    QTRY_COMPARE(d.window->CurrentView(), ViewMode::Configuration);
    QVERIFY(d.Key("ctrl+e"));
    QTRY_COMPARE(d.StatusText(), QStringLiteral("未连接设备，脱机"));
    // In the configuration view Ctrl+P prints, not the command console.
    test::WhenShown<QPrintDialog>([&](QPrintDialog*) {
        printDialog = true;
        test::Press({"Escape"});
    });
    QVERIFY(d.Key("ctrl+p"));
    QTRY_VERIFY_WITH_TIMEOUT(printDialog, kWait);
}

void OperatorWalkTest::printsIntoAPdfFileJobAfterJob()
{
    Desk d({1200, 800}, false);
    for (int i = 0; i < 3; ++i)
        d.doc.AddEntry("<AW>6100" + std::to_string(i), "设置" + std::to_string(i));
    d.window->RedrawDocumentPane();
    const test::TempDir dir;
    QStringList buttonTexts;
    // The print dialog with no printer installed: the PDF file it offers,
    // its name typed in, then its print button.
    const auto printTo = [&](const std::string& name, const std::function<bool()>& start) {
        bool answered = false;
        test::WhenShown<QPrintDialog>([&, name](QPrintDialog* dialog) {
            auto* file = dialog->findChild<QLineEdit*>("filename");
            for (QAbstractButton* button : dialog->findChild<QDialogButtonBox*>()->buttons())
                buttonTexts << button->text();
            test::Keep(test::OnScreen(dialog), "print-dialog");
            if (!file || !file->isEnabled()) {
                dialog->reject();
                return;
            }
            test::OperatorClick(file);
            test::Press({"ctrl+a"});
            test::Type(QString::fromStdString((dir.Path() / name).string()));
            test::Press({"Return"});
            answered = true;
        });
        QVERIFY(start());
        QTRY_VERIFY_WITH_TIMEOUT(answered && std::filesystem::exists(dir.Path() / name), kWait);
    };
    printTo("standard.pdf", [&] { return d.Key("ctrl+p"); });
    printTo("document.pdf", [&] { return d.Key("alt+f") && test::Press({"p"}); });
    QVERIFY(d.prompt.shown.empty());
    // Qt's own texts in Chinese.
    QVERIFY(!buttonTexts.isEmpty());
    for (const QString& text : buttonTexts)
        QVERIFY2(!text.contains("Cancel") && !text.contains("Print"), qPrintable(text));

    const auto info = test::RunProgram("pdfinfo " + test::Quote((dir.Path() / "document.pdf").string()));
    QVERIFY2(info.out.find("Quillon - 扫描枪条码配置文档") != std::string::npos, info.out.c_str());
    const std::string text = test::PdfText(dir.Path() / "document.pdf");
    QVERIFY(text.find("第 1 页 / 共 1 页") != std::string::npos || text.find("第1页/共1页") != std::string::npos);
    // The second job starts clean: its title is black, as the first job's.
    constexpr int kDpi = 150;
    for (const char* name : {"standard.pdf", "document.pdf"}) {
        const std::vector<QImage> pages = test::Rasterise(dir.Path() / name, kDpi);
        QVERIFY(!pages.empty());
        const QImage colour = QImage(pages[0]).convertToFormat(QImage::Format_RGB32);
        test::Keep(colour, QString("printed-") + name);
        int blueInHeader = 0;
        for (int y = 0; y < 55 * kDpi / 96; ++y)
            for (int x = 0; x < colour.width(); ++x) {
                const QColor c = colour.pixelColor(x, y);
                blueInHeader += c.blue() > 150 && c.red() < 100;
            }
        QCOMPARE(blueInHeader, 0);
        // The first entry's bars, wherever the job put them across the page.
        QCOMPARE(test::DecodeArea(pages[0], kDpi / 96.0, 0, 75, 700, 140, false, ZXing::BarcodeFormat::Code128),
                 std::vector<std::string>{d.doc.entries[0].codeText});
    }
}

void OperatorWalkTest::layoutAt800And1600Pixels()
{
    for (const int width : {800, 1600}) {
        Desk d({width, 700}, false);
        for (int i = 0; i < 3; ++i)
            d.doc.AddEntry("<AW>6100" + std::to_string(i), "设置" + std::to_string(i));
        d.window->RedrawDocumentPane();
        QTest::qWait(200);
        test::Keep(test::OnScreen(d.window.get()), QString("window-%1").arg(width));
        for (const char* name : {"makeBarcode1007", "invertColours1009", "sendToDevice1008", "qrCode1081"}) {
            auto* box = d.child<QCheckBox>(name);
            const QString caption = box->property("caption").toString();
            QVERIFY2(box->text() == caption ||
                         box->text() == QString::fromStdString(TwoLineCaption(caption.toStdString())),
                     qPrintable(box->text()));
            QVERIFY(test::ShownAsItIs(box));
        }
        auto* pane = qobject_cast<QAbstractScrollArea*>(d.window->DocumentPane());
        QScrollBar* sideways = pane->horizontalScrollBar();
        // Narrow, the title would be cut: the pane scrolls sideways to it.
        QTRY_COMPARE(sideways->isVisible(), width == 800);
        if (width == 800) {
            QVERIFY(test::ShownAsItIs(sideways));
            test::OperatorClick(sideways, QPoint(sideways->width() - 5, sideways->height() / 2));
            QTRY_VERIFY(sideways->value() > 0);
            test::Keep(test::OnScreen(d.window.get()), "window-800-scrolled");
        }
    }
}

QTEST_MAIN(OperatorWalkTest)
#include "OperatorWalkTest.moc"
