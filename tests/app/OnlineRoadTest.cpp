#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "app/TraceMenu.h"
#include "app/WndInfoFrm.h"
#include "catalogue/FormTree.h"
#include "catalogue/SelectionDispatch.h"
#include "device/CaptureDialogs.h"
#include "device/DeviceSession.h"
#include "device/QtDeviceTimers.h"
#include "document/QuillonDoc.h"
#include "serial/CnComm.h"
#include "sim/SimProcess.h"
#include "support/MainWindowHarness.h"
#include "support/WindowDriving.h"
#include "tools/ComDebugDlg.h"
#include "views/RightViewDown.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include <algorithm>

using namespace quillon;
using Strings = std::vector<std::string>;

namespace {

// The capture dialogs answered: the version fields are kept, the image-size
// dialog keeps its opening choice (the full resolution), and the progress
// dialog lasts until the transfer ends.
struct FakeCaptureDialogs : ICaptureDialogs {
    void ShowVersion(const std::vector<VersionField>& fields) override { versions.push_back(fields); }
    std::optional<ImageSize> AskImageSize(int width, int height) override
    {
        asked.emplace_back(width, height);
        return ImageSize{width, height};
    }
    bool RunProgress(const TransferProgress& progress) override
    {
        return QTest::qWaitFor([&] { return progress.finished; }, 30000);
    }
    std::vector<std::vector<VersionField>> versions;
    std::vector<std::pair<int, int>> asked;
};

// quillon-sim playing the bundled catalogue's device on COM9, and the real
// window over the same catalogue.
struct Online : test::MainWindowHarness {
    explicit Online(std::vector<std::string> simArgs = {}) : sim(test::WithBundledCatalogue(std::move(simArgs)))
    {
        MainFrameParts parts = Parts();
        parts.captureDialogs = &capture;
        parts.chooseSaveFile = [this](const QString&, const QString&) { return savedAs; };
        QVERIFY(Open(parts));
    }
    ~Online() { window.reset(); }  // before the simulator's port links go

    QString Status() const { return window->InfoBar()->statusText()->text(); }

    // Connects and waits until the read-back has ended.
    bool ConnectAndRead()
    {
        ConnectThroughDialog(QStringLiteral("COM9"));
        return QTest::qWaitFor([&] { return Status() == QStringLiteral("COM9，联机") && !ReadBusy(); }, 10000);
    }
    void TickSendToDevice() { form()->findChild<QCheckBox*>("sendToDevice1008")->click(); }

    // A setting whose options carry no value and need no dialog: its
    // option records, in tree order.
    std::vector<int> PlainSetting(const std::string& key) const
    {
        std::vector<int> options;
        const auto& nodes = doc.catalogue.treeNodes;
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            if (nodes[i].level == 3 && nodes[i].code.size() == 6 && nodes[i].code.starts_with(key))
                options.push_back(static_cast<int>(i));
        }
        return options;
    }
    // What the tree shows for the record: its text and whether it has the
    // device's mark image.
    QString Shown(int record) const { return ItemOf(record)->text(0); }
    bool Marked(int record) const
    {
        return form()->Tree().Item(doc.catalogue.treeNodes.at(static_cast<std::size_t>(record)).treeItem).image == 3;
    }
    // The first option of the setting that the device does not report as set.
    int Unmarked(const std::vector<int>& options) const
    {
        for (const int option : options) {
            if (!Marked(option))
                return option;
        }
        return -1;
    }

    // The operator's click on the toolbar button of a command.
    bool ClickToolbar(CommandId id) const
    {
        auto* toolBar = window->findChild<QToolBar*>("toolBar");
        QWidget* button = toolBar->widgetForAction(window->Action(id));
        // On a bare X server no window manager makes the window active when
        // the port dialog closes, and the click would go unheard.
        window->activateWindow();
        return button && QTest::qWaitForWindowActive(window.get()) && test::OperatorClick(button);
    }
    bool OnlineNow() const { return Status() == QStringLiteral("COM9，联机"); }

    test::SimForTool sim;
    FakeCaptureDialogs capture;
    QString savedAs;
};

bool HasColour(QWidget* pane, QColor colour)
{
    const QImage image = pane->grab().toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour)
                return true;
    return false;
}

// The connect time-out as the window's timer would end it, without waiting.
void ExpireConnectTimer(CMainFrame& window)
{
    const auto timers = window.findChildren<QTimer*>();
    const bool running = std::ranges::any_of(timers, [](QTimer* t) { return t->isActive() && t->interval() == 3000; });
    QVERIFY2(running, "the 3,000 ms connect timer is not running");
    window.Session().OnTimer(DeviceTimer::Connect);
}

}  // namespace

class OnlineRoadTest : public QObject {
    Q_OBJECT
private slots:
    void connectReadsTheDeviceIntoTheTree();
    void aDoubleClickOnlineChangesTheDevice();
    void aSilentDeviceTimesOutWithTheMessage();
    void writeFaults_data();
    void writeFaults();
    void unplugDisconnectsSilently();
    void cancellingThePortDialogSendsNothing();
    void deviceVersionShowsTheFields();
    void imageExtractionShowsAndSavesTheImage();
    void decodedOutputShowsInTheUpperPane();
    void theHelpMenuRecordsATrace();
    void theConsoleHearsEveryReplyWhileAReadBackGoesQuiet();
    void aWriteDuringTheReadBackIsReadBackAfterItsReply();
    void aFailedOpenWhileOnlineLeavesTheWindowOffline();
    void aDisconnectInTheMonitorViewSaysNothingAndCaptureGoesOn();
    void aBadImageHeaderOnTheLeftTickedBoxIsToldAndCaptureGoesOn();
};

void OnlineRoadTest::connectReadsTheDeviceIntoTheTree()
{
    Online o;
    QCOMPARE(o.Status(), QStringLiteral("未连接设备，脱机"));
    QVERIFY(o.ConnectAndRead());
    QVERIFY(o.window->InfoBar()->Connected());
    QVERIFY(o.window->Session().Online());
    QVERIFY(o.prompt.shown.empty());
    // Every setting the device holds has exactly one option marked; the
    // baud rate is the simulator's factory value.
    const auto baud = o.PlainSetting("4141");
    QVERIFY(baud.size() >= 2);
    int marked = 0;
    for (const int option : baud) {
        if (o.Marked(option)) {
            ++marked;
            QVERIFY(o.Shown(option).endsWith('*'));
            QVERIFY(QString::fromStdString(o.doc.catalogue.treeNodes[std::size_t(option)].info)
                        .contains(QStringLiteral("出厂默认")));
        } else {
            QVERIFY(!o.Shown(option).endsWith('*'));
        }
    }
    QCOMPARE(marked, 1);
    // The route rests: nothing is ticked.
    QCOMPARE(o.Route(), -1);

    // Connecting again while online reopens the same line, which an ordinary
    // user can only do when the first connection let go of it completely.
    QVERIFY(o.ConnectAndRead());
    QCOMPARE(o.doc.portNumber, 9);
    QVERIFY(o.prompt.shown.empty());
    // The port is really open: a second program cannot have it.
    CnComm other;
    QVERIFY(!other.OpenByNumber(9, 115200));

    // Disconnect: offline again, the port free, the marks gone with the reload.
    o.window->Action(CommandId::Disconnect)->trigger();
    QCOMPARE(o.Status(), QStringLiteral("未连接设备，脱机"));
    QCOMPARE(o.doc.portNumber, 0);
    QVERIFY(!o.window->Comm().IsOpen());
    QVERIFY(other.OpenByNumber(9, 115200));
    other.Shutdown();
    for (const int option : o.PlainSetting("4141"))
        QVERIFY(!o.Marked(option));
    // A reconnect reads everything back again; closing the window lets go of the port.
    QVERIFY(o.ConnectAndRead());
    QVERIFY(std::ranges::any_of(o.PlainSetting("4141"), [&](int option) { return o.Marked(option); }));
    o.window->close();
    QVERIFY(other.OpenByNumber(9, 115200));
    other.Shutdown();
}

void OnlineRoadTest::aDoubleClickOnlineChangesTheDevice()
{
    Online o;
    QVERIFY(o.ConnectAndRead());
    // The serial monitor appears only with "修改设备参数" ticked.
    QVERIFY(!HasColour(o.window->SerialMonitorPane()->viewport(), Qt::black));
    o.TickSendToDevice();
    QCOMPARE(o.Route(), 1);
    const auto setting = o.PlainSetting("4142");
    QVERIFY(setting.size() >= 2);
    const int choice = o.Unmarked(setting);
    QVERIFY(choice >= 0);
    o.doc.monitorLines.clear();
    o.DoubleClick(o.ItemOf(choice));
    // The write is accepted, the read-back follows and shows the new value.
    QVERIFY(QTest::qWaitFor([&] { return o.Marked(choice) && !o.ReadBusy(); }, 10000));
    QVERIFY(o.Shown(choice).endsWith('*'));
    for (const int option : setting)
        QCOMPARE(o.Marked(option), option == choice);
    QCOMPARE(o.Route(), 1);
    QVERIFY(o.prompt.shown.empty());

    // The monitor lists the frame sent and the reply, and the pane shows them.
    const std::string code = o.doc.catalogue.treeNodes[std::size_t(choice)].code;
    QCOMPARE(o.doc.monitorLines.size(), std::size_t{2});
    QCOMPARE(QString::fromStdString(o.doc.monitorLines[0].hexText), QString::fromStdString("21" + code).toLower());
    QCOMPARE(o.doc.monitorLines[1].hexText, std::string("33764200"));
    QCOMPARE(o.doc.monitorLines[1].direction, 2);
    QVERIFY(HasColour(o.window->SerialMonitorPane()->viewport(), QColor(0, 0, 255)));
    QVERIFY(HasColour(o.window->SerialMonitorPane()->viewport(), Qt::black));

    // The simulator really holds the new value: a fresh connect reads it.
    o.window->Action(CommandId::Disconnect)->trigger();
    QVERIFY(!o.form()->SendToDeviceChecked());
    QVERIFY(o.ConnectAndRead());
    QVERIFY(o.Marked(choice));
}

// A wrong answer followed by the right one connects: checked on the session
// alone and through quillon-cli.
void OnlineRoadTest::aSilentDeviceTimesOutWithTheMessage()
{
    Online o({"--fault", "silent-probe"});
    o.ConnectThroughDialog(QStringLiteral("COM9"));
    QCOMPARE(o.Route(), 6);
    QTest::qWait(100);
    QVERIFY(!o.window->Session().Online());
    ExpireConnectTimer(*o.window);
    QCOMPARE(o.prompt.Texts(), Strings{kConnectFailedText});
    QCOMPARE(o.Status(), QStringLiteral("未连接设备，脱机"));
    QCOMPARE(o.doc.portNumber, 0);
}

void OnlineRoadTest::writeFaults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("disconnects");
    // One reply that keeps the link and one that ends it; every reply's
    // reaction is in SessionTest.
    QTest::newRow("refused write") << "write-error" << kWriteRefusedText << false;
    QTest::newRow("HID") << "hid" << kLinkHidText << true;
}

void OnlineRoadTest::writeFaults()
{
    QFETCH(QString, fault);
    QFETCH(QString, message);
    QFETCH(bool, disconnects);
    Online o;
    QVERIFY(o.ConnectAndRead());
    o.TickSendToDevice();
    o.sim.Command("fault " + fault.toStdString());
    QVERIFY(!o.sim.WaitForLine("armed: ").empty());
    const int choice = o.Unmarked(o.PlainSetting("4142"));
    o.DoubleClick(o.ItemOf(choice));
    QVERIFY(QTest::qWaitFor([&] { return !o.prompt.shown.empty(); }, 10000));
    QCOMPARE(o.prompt.Texts(), Strings{message.toStdString()});
    QCOMPARE(o.doc.portNumber == 0, disconnects);
    QCOMPARE(o.Status(), disconnects ? QStringLiteral("未连接设备，脱机") : QStringLiteral("COM9，联机"));
    QCOMPARE(o.form()->SendToDeviceChecked(), !disconnects);
    QVERIFY(!o.Marked(choice));
}

void OnlineRoadTest::unplugDisconnectsSilently()
{
    Online o;
    QVERIFY(o.ConnectAndRead());
    o.sim.Command("unplug");
    QVERIFY(QTest::qWaitFor([&] { return o.doc.portNumber == 0; }, 10000));
    QCOMPARE(o.Status(), QStringLiteral("未连接设备，脱机"));
    QVERIFY(o.prompt.shown.empty());
    QVERIFY(!o.window->Session().Online());
}

void OnlineRoadTest::cancellingThePortDialogSendsNothing()
{
    Online o;
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    o.window->Action(CommandId::Connect)->trigger();
    QCOMPARE(o.Route(), -1);
    QVERIFY(std::ranges::none_of(o.window->findChildren<QTimer*>(),
                                 [](QTimer* t) { return t->isActive() && t->interval() == 3000; }));
    QCOMPARE(o.doc.portNumber, 0);
    QVERIFY(o.prompt.shown.empty());
}

void OnlineRoadTest::deviceVersionShowsTheFields()
{
    Online o;
    QVERIFY(o.ConnectAndRead());
    o.window->Execute(CommandId::DeviceVersion);
    QVERIFY(QTest::qWaitFor([&] { return !o.capture.versions.empty(); }, 10000));
    QStringList shown;
    for (const VersionField& field : o.capture.versions.front())
        shown << QString::fromUtf8(field.label) + QString::fromStdString(field.text);
    QCOMPARE(shown,
             (QStringList{"软件版本：V3.2.7 build 20260915", "QS-BOOT 1.04", "设备图像分辨率为：640pix × 480pix ",
                          "硬件版本：HW-B2", "设备类型：QS-2D Imager", "设备规格：640x480 CMOS, 2D/1D",
                          "生产日期：2026-09-15", "设备序列号：QS2D2609150042"}));
    QCoreApplication::processEvents();
    QCOMPARE(o.capture.versions.size(), std::size_t{1});
    QCOMPARE(o.Route(), -1);  // resting: "修改设备参数" is not ticked
    QVERIFY(o.prompt.shown.empty());
}

void OnlineRoadTest::imageExtractionShowsAndSavesTheImage()
{
    Online o;
    QVERIFY(o.ConnectAndRead());
    o.window->SwitchToMonitorView();
    o.window->Execute(CommandId::ImageExtract);
    QVERIFY(o.form()->ImageExtractChecked());
    QVERIFY(QTest::qWaitFor([&] { return o.doc.image.Present() && !o.form()->ImageExtractChecked(); }, 30000));
    QCOMPARE(o.capture.asked, (std::vector<std::pair<int, int>>{{640, 480}}));
    QVERIFY2(o.prompt.shown.empty(), o.prompt.shown.empty() ? "" : o.prompt.shown.front().text.c_str());

    // The lower pane draws it, and the save command writes it; the camera's
    // pattern is (x + 2y) mod 256 (the file's layout is BmpFileTest's).
    const auto expectPattern = [](const QImage& image) {
        QCOMPARE(image.size(), QSize(640, 480));
        for (const QPoint at : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(639, 479), QPoint(100, 37)})
            QCOMPARE(qGray(image.pixel(at)), (at.x() + 2 * at.y()) & 0xFF);
    };
    CRightViewDown* pane = o.window->SerialMonitorPane();
    pane->viewport()->grab();
    expectPattern(pane->ShownImage());

    o.savedAs = QString::fromStdString((o.temp.Path() / "picture").string());
    o.window->Execute(CommandId::ImageSave);
    QImage saved;
    QVERIFY(saved.load(o.savedAs + ".bmp", "BMP"));
    expectPattern(saved);
}

void OnlineRoadTest::decodedOutputShowsInTheUpperPane()
{
    Online o;
    QVERIFY(o.ConnectAndRead());
    o.window->SwitchToMonitorView();
    QVERIFY(o.form()->DecodeOutputChecked());
    const QImage before = o.window->DocumentPane()->grab().toImage();
    o.sim.Command("scan 6901234567892");
    QVERIFY(QTest::qWaitFor([&] { return !o.doc.decodedLines.empty(); }, 10000));
    QCOMPARE(o.doc.decodedLines.back().lineText, std::string("6901234567892"));
    QCoreApplication::processEvents();
    const QImage after = o.window->DocumentPane()->grab().toImage();
    QVERIFY(after != before);
    QVERIFY(o.prompt.shown.empty());
}

void OnlineRoadTest::theHelpMenuRecordsATrace()
{
    Online o;
    QAction* item = o.window->Action(CommandId::SaveTrace);
    QCOMPARE(item->text(), QStringLiteral("保存通信记录…"));
    auto* recording = o.child<QLabel>("traceRecording");
    QVERIFY(recording && !recording->isVisible());

    // Cancelling the file dialog records nothing.
    o.savedAs.clear();
    item->trigger();
    QVERIFY(!o.window->Trace().Recording());
    QVERIFY(!item->isChecked());

    const std::string path = (o.temp.Path() / "window.trace").string();
    o.savedAs = QString::fromStdString(path);
    item->trigger();
    QVERIFY(o.window->Trace().Recording());
    QVERIFY(item->isChecked());
    QVERIFY(recording->isVisible());
    QCOMPARE(recording->text(), QString::fromStdString(kTraceRecordingText + path));
    QCOMPARE(o.window->Trace().AboutText(), path);
    QVERIFY(o.ConnectAndRead());

    item->trigger();
    QVERIFY(!o.window->Trace().Recording());
    QVERIFY(!recording->isVisible());
    QCOMPARE(o.window->statusBar()->currentMessage(), QString::fromStdString(kTraceSavedText + path));
    const std::string trace = test::ReadFile(path);
    for (const char* line : {"# session: the window\n", " COM9 115200 open\n", " COM9 115200 > route=6 23 10 40\n",
                             " COM9 115200 < route=4 ", "# the window stopped the trace\n"})
        QVERIFY2(trace.find(line) != std::string::npos, line);
    // The about box tells where traces go once none is being written.
    QVERIFY(o.window->Trace().AboutText().find("保存通信记录") != std::string::npos);

    // A file that cannot be written is told and nothing records.
    o.savedAs = QString::fromStdString((o.temp.Path() / "missing" / "x.trace").string());
    item->trigger();
    QVERIFY(!o.window->Trace().Recording());
    QCOMPARE(o.prompt.shown.size(), std::size_t(1));
    QVERIFY(o.prompt.shown.front().text.starts_with(kTraceFailedText));
}

// The console opened while the read-back runs: route 7 holds until it is
// closed, also once the read-back's quiet time has passed.
void OnlineRoadTest::theConsoleHearsEveryReplyWhileAReadBackGoesQuiet()
{
    Online o({"--fault", "no-readback-end"});
    o.ConnectThroughDialog(QStringLiteral("COM9"));
    QVERIFY(QTest::qWaitFor([&] { return o.OnlineNow(); }, 10000));
    QVERIFY(o.ReadBusy());
    bool ran = false;
    QTimer::singleShot(0, o.window.get(), [&] {
        auto* dialog = qobject_cast<CComDebugDlg*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        auto* command = dialog->findChild<QLineEdit*>("command");
        auto* log = dialog->findChild<QPlainTextEdit*>("log");
        // The read-back's last replies may come first; the console takes them too.
        const auto answers = [&] { return log->toPlainText().count(QStringLiteral("0x24 0x41 0x41")); };
        const auto ask = [&] {
            QTest::qWait(300);
            const qsizetype before = answers();
            command->clear();
            if (test::OnRealDisplay())
                QVERIFY(test::OperatorClick(command) && test::XDoTool({"type", "--delay", "10", "234141"}));
            else
                QTest::keyClicks(command, QStringLiteral("234141"));
            QVERIFY(QTest::qWaitFor([&] { return command->text() == QStringLiteral("234141"); }, 5000));
            QVERIFY(test::OperatorClick(dialog->findChild<QPushButton*>("send")));
            QVERIFY2(QTest::qWaitFor([&] { return answers() > before; }, 5000), qPrintable(log->toPlainText()));
        };
        ask();
        QTest::qWait(kReadBackQuietMs + 500);  // the read-back has long gone quiet
        ask();
        QCOMPARE(o.Route(), static_cast<int>(ReplyRoute::CommandInteraction));
        QVERIFY(test::OperatorClick(dialog->findChild<QPushButton*>("close")));
        ran = true;
    });
    o.window->Action(CommandId::CommandInteraction)->trigger();
    QVERIFY(ran);
    QCOMPARE(o.Route(), -1);
    QVERIFY(o.window->statusBar()->currentMessage() != QString::fromUtf8(kReadBackStalledText));
    QVERIFY(o.prompt.shown.empty());
}

// A setting double-clicked while the settings are still read back goes out
// when that read-back ends; its reply starts a read-back of its own, which
// shows the new value, and no read-back is reported as stalled.
void OnlineRoadTest::aWriteDuringTheReadBackIsReadBackAfterItsReply()
{
    Online o({"--read-back-hold", "1500"});
    o.ConnectThroughDialog(QStringLiteral("COM9"));
    QVERIFY(QTest::qWaitFor([&] { return o.OnlineNow(); }, 10000));
    QVERIFY(o.ReadBusy());
    QVERIFY(test::OperatorClick(o.form()->findChild<QCheckBox*>("sendToDevice1008")));
    QVERIFY(QTest::qWaitFor([&] { return o.form()->SendToDeviceChecked(); }, 5000));
    const int choice = o.PlainSetting("4142").back();
    QVERIFY(test::OperatorDoubleClick(o.tree(), o.ItemOf(choice)));
    const bool done = QTest::qWaitFor([&] { return o.Marked(choice) && !o.ReadBusy(); }, 15000);
    QVERIFY2(done, qPrintable(QStringLiteral("marked %1, read-back %2, route %3, %4 monitor lines, status %5")
                                  .arg(o.Marked(choice))
                                  .arg(o.ReadBusy())
                                  .arg(o.Route())
                                  .arg(o.doc.monitorLines.size())
                                  .arg(o.window->statusBar()->currentMessage())));
    QTest::qWait(kReadBackQuietMs + 500);
    QVERIFY(o.window->statusBar()->currentMessage() != QString::fromUtf8(kReadBackStalledText));
    QCOMPARE(o.Route(), 1);
    QVERIFY(o.prompt.shown.empty());
}

// Connecting again while online, to a port that does not open, then
// cancelling: the old port is closed, so the window is offline.
void OnlineRoadTest::aFailedOpenWhileOnlineLeavesTheWindowOffline()
{
    Online o;
    QVERIFY(o.ConnectAndRead());
    o.TickSendToDevice();
    QTimer::singleShot(0, [&o] {
        auto* dialog = qobject_cast<CRsParaSet*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QTest::qWait(300);  // placed by the window manager
        dialog->findChild<QComboBox*>("port")->setEditText(QStringLiteral("COM77"));
        QVERIFY(test::OperatorClick(dialog->findChild<QPushButton*>("connect")));
        QVERIFY(QTest::qWaitFor([&] { return !o.prompt.shown.empty(); }, 5000));
        QVERIFY(dialog->isVisible());
        QVERIFY(test::OperatorClick(dialog->findChild<QPushButton*>("cancel")));
    });
    o.window->Action(CommandId::Connect)->trigger();
    QCOMPARE(o.prompt.shown.size(), std::size_t{1});
    QVERIFY(QString::fromStdString(o.prompt.shown.front().text).startsWith(QStringLiteral("串口打开失败！")));
    QCOMPARE(o.Status(), QStringLiteral("未连接设备，脱机"));
    QVERIFY(!o.window->Session().Online());
    QVERIFY(!o.form()->SendToDeviceChecked());
    QVERIFY(std::ranges::none_of(o.PlainSetting("4141"), [&](int option) { return o.Marked(option); }));
    // Nothing goes out any more, and nothing is listed as sent.
    o.doc.monitorLines.clear();
    QVERIFY(test::OperatorDoubleClick(o.tree(), o.ItemOf(o.PlainSetting("4142").front())));
    QCoreApplication::processEvents();
    QVERIFY(o.doc.monitorLines.empty());
    // And a new connect works.
    QVERIFY(o.ConnectAndRead());
}

// In the monitor view a disconnect shows no message and keeps the boxes;
// after a reconnect, what the device decodes is captured at once.
void OnlineRoadTest::aDisconnectInTheMonitorViewSaysNothingAndCaptureGoesOn()
{
    Online o;
    QVERIFY(o.ConnectAndRead());
    QVERIFY(o.ClickToolbar(CommandId::MonitorView));
    QVERIFY(QTest::qWaitFor([&] { return o.window->CurrentView() == ViewMode::Monitor; }, 5000));
    const QList<int> rows = o.window->InnerSplitter()->sizes();
    QVERIFY(o.ClickToolbar(CommandId::Disconnect));
    QVERIFY(QTest::qWaitFor([&] { return o.Status() == QStringLiteral("未连接设备，脱机"); }, 5000));
    QVERIFY(o.prompt.shown.empty());
    QVERIFY(o.form()->DecodeOutputChecked());
    QCOMPARE(o.window->InnerSplitter()->sizes(), rows);

    QVERIFY(o.ConnectAndRead());
    // The tree takes the focus back from the port dialog, which makes an
    // item current without the operator choosing one: the view stays.
    QVERIFY(o.window->CurrentView() == ViewMode::Monitor);
    QCOMPARE(o.Route(), static_cast<int>(ReplyRoute::DecodedOutput));
    o.sim.Command("scan 6901234567892");
    QVERIFY(QTest::qWaitFor([&] { return !o.doc.decodedLines.empty(); }, 10000));
    QVERIFY(o.prompt.shown.empty());
}

// "图像提取" left ticked (hidden) takes what the device decodes as image
// data: the operator is told, and decoded output is captured again.
void OnlineRoadTest::aBadImageHeaderOnTheLeftTickedBoxIsToldAndCaptureGoesOn()
{
    Online o;
    QVERIFY(o.ConnectAndRead());
    QVERIFY(o.ClickToolbar(CommandId::MonitorView));
    QVERIFY(QTest::qWaitFor([&] { return o.window->CurrentView() == ViewMode::Monitor; }, 5000));
    o.form()->SetImageExtractChecked(true);  // as an extraction that never got its size leaves it
    // Choosing a setting returns to the configuration view.
    QTreeWidgetItem* other = o.tree()->topLevelItem(o.tree()->currentItem() == o.tree()->topLevelItem(0) ? 1 : 0);
    QVERIFY(test::OperatorClick(o.tree()->viewport(), o.tree()->visualItemRect(other).center()));
    QVERIFY(QTest::qWaitFor([&] { return o.window->CurrentView() == ViewMode::Configuration; }, 5000));
    QVERIFY(o.ClickToolbar(CommandId::MonitorView));
    QVERIFY(QTest::qWaitFor([&] { return o.Route() == static_cast<int>(ReplyRoute::ImageData); }, 5000));
    o.sim.Command("scan 6901234567892");
    QVERIFY(QTest::qWaitFor([&] { return !o.prompt.shown.empty(); }, 10000));
    QCOMPARE(o.prompt.Texts(), Strings{kImageFormatErrorText});
    QVERIFY(!o.form()->ImageExtractChecked());
    QCOMPARE(o.Route(), static_cast<int>(ReplyRoute::DecodedOutput));
    QTest::qWait(300);  // the rest of the refused scan
    o.doc.decodedLines.clear();
    o.sim.Command("scan 6901234567892");
    QVERIFY(QTest::qWaitFor([&] { return !o.doc.decodedLines.empty(); }, 10000));
    QCOMPARE(o.prompt.shown.size(), std::size_t{1});
}

QTEST_MAIN(OnlineRoadTest)
#include "OnlineRoadTest.moc"
