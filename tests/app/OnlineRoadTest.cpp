#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "app/SavePathStore.h"
#include "app/WndInfoFrm.h"
#include "catalogue/FormTree.h"
#include "catalogue/SelectionDispatch.h"
#include "device/DeviceSession.h"
#include "device/QtDeviceTimers.h"
#include "document/QuillonDoc.h"
#include "serial/CnComm.h"
#include "serial/RsParaSet.h"
#include "sim/SimProcess.h"
#include "support/FakeDialogs.h"
#include "support/RecordingPrompt.h"
#include "views/RightViewDown.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <memory>
#include <stdlib.h>

using namespace quillon;
using quillon::test::FakeDialogs;
using quillon::test::RecordingPrompt;
using quillon::test::SimProcess;
using Strings = std::vector<std::string>;

namespace {

// quillon-sim playing the bundled catalogue's device on COM9, and the real
// window over the same catalogue, with its own port-link folder.
struct Online {
    explicit Online(std::vector<std::string> simArgs = {})
        : sim([&] {
              simArgs.insert(simArgs.begin(), {"--catalogue", "config/all.xml"});
              return simArgs;
          }()),
          store(QString::fromStdString((temp.Path() / "savepath.conf").string()))
    {
        // The tool's side is the window's channel, not the helper's.
        sim.ClosePort();
        setenv("QUILLON_PORT_LINKS", std::filesystem::path(sim.LinkPath()).parent_path().c_str(), 1);
        setenv("XDG_CONFIG_HOME", (temp.Path() / "config").c_str(), 1);
        MainFrameParts parts;
        parts.prompt = &prompt;
        parts.dialogs = &dialogs;
        parts.savePaths = &store;
        window = std::make_unique<CMainFrame>(doc, parts);
        window->resize(1200, 800);
        window->InitialUpdate();
        window->show();
    }
    ~Online()
    {
        window.reset();
        unsetenv("QUILLON_PORT_LINKS");
        unsetenv("XDG_CONFIG_HOME");
    }

    CFormTree* form() const { return window->Form(); }
    QString Status() const { return window->InfoBar()->statusText()->text(); }

    // Runs the connect command and answers the port dialog with COM9.
    void Connect()
    {
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<CRsParaSet*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->findChild<QComboBox*>("port")->setEditText("COM9");
            dialog->findChild<QComboBox*>("baud")->setEditText("115200");
            dialog->findChild<QPushButton*>("connect")->click();
        });
        window->Action(CommandId::Connect)->trigger();
    }
    // Connects and waits until the read-back has ended.
    bool ConnectAndRead()
    {
        Connect();
        return QTest::qWaitFor([&] { return Status() == QStringLiteral("COM9，联机") && form()->readBusy == 0; }, 10000);
    }
    void TickSendToDevice()
    {
        form()->findChild<QCheckBox*>("sendToDevice1008")->click();
    }

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
    QTreeWidgetItem* ItemOf(int record) const
    {
        return form()->WidgetItem(doc.catalogue.treeNodes.at(static_cast<std::size_t>(record)).treeItem);
    }
    // What the tree shows for the record: its text and whether it has the
    // device's mark image.
    QString Shown(int record) const { return ItemOf(record)->text(0); }
    bool Marked(int record) const
    {
        return form()->Tree().Item(doc.catalogue.treeNodes.at(static_cast<std::size_t>(record)).treeItem).image == 3;
    }
    void DoubleClick(int record) const
    {
        QTreeWidgetItem* item = ItemOf(record);
        for (QTreeWidgetItem* up = item->parent(); up; up = up->parent())
            up->setExpanded(true);
        QTreeWidget* tree = form()->TreeWidget();
        tree->scrollToItem(item);
        const QPoint at = tree->visualItemRect(item).center();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
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

    SimProcess sim;
    test::TempDir temp;
    SavePathStore store;
    CQuillonDoc doc;
    RecordingPrompt prompt;
    FakeDialogs dialogs;
    std::unique_ptr<CMainFrame> window;
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
    void probeFaults_data();
    void probeFaults();
    void writeFaults_data();
    void writeFaults();
    void unplugDisconnectsSilently();
    void cancellingThePortDialogSendsNothing();
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
            QVERIFY(QString::fromStdString(o.doc.catalogue.treeNodes[std::size_t(option)].info).contains(QStringLiteral("出厂默认")));
        } else {
            QVERIFY(!o.Shown(option).endsWith('*'));
        }
    }
    QCOMPARE(marked, 1);
    // The route rests: nothing is ticked.
    QCOMPARE(o.form()->replyRoute, -1);

    // Disconnect: offline again, the marks are gone with the reload.
    o.window->Action(CommandId::Disconnect)->trigger();
    QCOMPARE(o.Status(), QStringLiteral("未连接设备，脱机"));
    QCOMPARE(o.doc.portNumber, 0);
    QVERIFY(!o.window->Comm().IsOpen());
    for (const int option : o.PlainSetting("4141"))
        QVERIFY(!o.Marked(option));
    // A reconnect reads everything back again.
    QVERIFY(o.ConnectAndRead());
    QVERIFY(std::ranges::any_of(o.PlainSetting("4141"), [&](int option) { return o.Marked(option); }));
}

void OnlineRoadTest::aDoubleClickOnlineChangesTheDevice()
{
    Online o;
    QVERIFY(o.ConnectAndRead());
    // The serial monitor appears only with "修改设备参数" ticked.
    QVERIFY(!HasColour(o.window->SerialMonitorPane()->viewport(), Qt::black));
    o.TickSendToDevice();
    QCOMPARE(o.form()->replyRoute, 1);
    const auto setting = o.PlainSetting("4142");
    QVERIFY(setting.size() >= 2);
    const int choice = o.Unmarked(setting);
    QVERIFY(choice >= 0);
    o.doc.monitorLines.clear();
    o.DoubleClick(choice);
    // The write is accepted, the read-back follows and shows the new value.
    QVERIFY(QTest::qWaitFor([&] { return o.Marked(choice) && o.form()->readBusy == 0; }, 10000));
    QVERIFY(o.Shown(choice).endsWith('*'));
    for (const int option : setting)
        QCOMPARE(o.Marked(option), option == choice);
    QCOMPARE(o.form()->replyRoute, 1);
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

void OnlineRoadTest::probeFaults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("connects");
    QTest::newRow("silence") << "silent-probe" << false;
    QTest::newRow("wrong then right") << "wrong-probe" << true;
}

void OnlineRoadTest::probeFaults()
{
    QFETCH(QString, fault);
    QFETCH(bool, connects);
    Online o({"--fault", fault.toStdString()});
    o.Connect();
    QCOMPARE(o.form()->replyRoute, 6);
    if (connects) {
        QVERIFY(QTest::qWaitFor([&] { return o.window->Session().Online(); }, 10000));
        QCOMPARE(o.Status(), QStringLiteral("COM9，联机"));
        QVERIFY(o.prompt.shown.empty());
        return;
    }
    // Nothing useful comes back: the time-out disconnects and says why.
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
    QTest::newRow("refused write") << "write-error" << kWriteRefusedText << false;
    QTest::newRow("HID") << "hid" << kLinkHidText << true;
    QTest::newRow("HID-POS") << "hid-pos" << kLinkHidPosText << true;
    QTest::newRow("baud changed") << "baud-changed" << kBaudChangedText << true;
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
    o.DoubleClick(choice);
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
    QCOMPARE(o.form()->replyRoute, -1);
    QVERIFY(std::ranges::none_of(o.window->findChildren<QTimer*>(), [](QTimer* t) { return t->isActive() && t->interval() == 3000; }));
    // Without a port, online writes are refused.
    o.TickSendToDevice();
    QCOMPARE(o.prompt.Texts(), Strings{kNoPortText});
    QVERIFY(!o.form()->SendToDeviceChecked());
}

QTEST_MAIN(OnlineRoadTest)
#include "OnlineRoadTest.moc"
