#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "app/WndInfoFrm.h"
#include "base/SavePathStore.h"
#include "catalogue/FormTree.h"
#include "document/QuillonDoc.h"
#include "serial/CnComm.h"
#include "serial/PortLinks.h"
#include "serial/PortWatch.h"
#include "serial/PtyPair.h"
#include "sim/SimProcess.h"
#include "support/FakeDialogs.h"
#include "support/PortDialogAnswer.h"
#include "support/RecordingPrompt.h"
#include "support/WindowDriving.h"

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <stdlib.h>

using namespace quillon;
using namespace std::chrono_literals;
using quillon::test::SimProcess;

namespace {

// quillon-sim on COM9 and the real window, whose hot-plug clock is the
// test's: the simulator's unplug and plug stand for the cable.
struct Plugged {
    Plugged()
        : sim({"--catalogue", "config/all.xml"}),
          store(QString::fromStdString((temp.Path() / "savepath.conf").string()))
    {
        sim.ClosePort();  // the window opens it
        setenv("QUILLON_PORT_LINKS", LinkFolder().c_str(), 1);
        setenv("XDG_CONFIG_HOME", (temp.Path() / "config").c_str(), 1);
        MainFrameParts parts;
        parts.prompt = &prompt;
        parts.dialogs = &dialogs;
        parts.savePaths = &store;
        parts.hotplugClock = [this] { return now; };
        window = std::make_unique<CMainFrame>(doc, parts);
        window->resize(1200, 800);
        window->InitialUpdate();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        // Each piece of news the window's watch takes in, with whether the
        // COM9 link was there by then.
        watchNews = QObject::connect(window->findChild<PortWatch*>("portWatch"), &PortWatch::portsChanged,
                                     [this] { newsWithLink.push_back(std::filesystem::exists(sim.LinkPath())); });
    }
    ~Plugged()
    {
        QObject::disconnect(watchNews);
        window.reset();
        unsetenv("QUILLON_PORT_LINKS");
        unsetenv("XDG_CONFIG_HOME");
    }

    std::string LinkFolder() const { return std::filesystem::path(sim.LinkPath()).parent_path().string(); }
    QString InfoText() const { return window->InfoBar()->statusText()->text(); }
    QString StatusLine() const { return window->statusBar()->currentMessage(); }
    QPushButton* Offer() const { return window->findChild<QPushButton*>("reconnectButton"); }
    // The offer as the operator sees it: shown in the status bar, under
    // its own centre.
    bool OfferShown() const
    {
        QPushButton* offer = Offer();
        if (!offer || !offer->isVisible())
            return false;
        const QPoint centre = offer->mapTo(window->statusBar(), offer->rect().center());
        return window->statusBar()->childAt(centre) == offer;
    }
    // What the screen shows where the offer sits is the offer itself.
    bool OfferOnScreen() const { return test::ShownAsItIs(Offer()); }
    bool Online() const
    {
        return InfoText() == QStringLiteral("COM9，联机") && !window->Session().Link().ReadBusy() &&
               window->Session().Online();
    }
    // Whether any option of the baud-rate setting carries the device's mark.
    bool ReadBackMarked() const
    {
        const auto& nodes = doc.catalogue.treeNodes;
        for (const auto& node : nodes) {
            if (node.level == 3 && node.code.size() == 6 && node.code.starts_with("4141") &&
                window->Form()->Tree().Item(node.treeItem).image == 3)
                return true;
        }
        return false;
    }

    void ConnectThroughTheDialog()
    {
        test::AnswerPortDialog(QStringLiteral("COM9"));
        window->Action(CommandId::Connect)->trigger();
        QVERIFY(QTest::qWaitFor([&] { return Online(); }, 10000));
    }
    // The device goes: its cable pulled (the line hangs up), or only its
    // link removed, which the channel cannot notice.
    void Unplug(bool linkOnly = false)
    {
        if (linkOnly) {
            RemovePortLink(9);
        } else {
            sim.Command("unplug");
            QVERIFY(!sim.WaitForLine("unplugged").empty());
        }
        QVERIFY(QTest::qWaitFor([&] { return StatusLine() == QStringLiteral("COM9 已拔出，设备已断开"); }, 10000));
    }
    // Plugs the device in again and waits until the window's watch has seen
    // its link, so that whatever the window decides is decided.
    void PlugAndSettle(bool linkOnly = false)
    {
        newsWithLink.clear();
        if (linkOnly) {
            QVERIFY(PublishPortLink(9, sim.DevicePath()));
        } else {
            sim.Command("plug");
            QVERIFY(!sim.WaitForLine("serving COM9").empty());
        }
        QVERIFY(QTest::qWaitFor([&] { return std::ranges::count(newsWithLink, true) > 0; }, 10000));
        QTest::qWait(100);  // news that raced the check above
    }

    SimProcess sim;
    test::TempDir temp;
    SavePathStore store;
    CQuillonDoc doc;
    test::RecordingPrompt prompt;
    test::FakeDialogs dialogs;
    HotplugRules::Clock::time_point now = HotplugRules::Clock::now();
    std::vector<bool> newsWithLink;
    QMetaObject::Connection watchNews;
    std::unique_ptr<CMainFrame> window;
};

}  // namespace

class HotplugWindowTest : public QObject {
    Q_OBJECT
private slots:
    void unplugDisconnectsAndOneClickReconnects_data();
    void unplugDisconnectsAndOneClickReconnects();
    void noOfferForAnotherDeviceOrAfterTheMinute();
    void deliberateStepsWithdrawTheOffer_data();
    void deliberateStepsWithdrawTheOffer();
};

void HotplugWindowTest::unplugDisconnectsAndOneClickReconnects_data()
{
    QTest::addColumn<bool>("linkOnly");
    QTest::newRow("cable pulled") << false;
    QTest::newRow("link removed, the line still open") << true;
}

void HotplugWindowTest::unplugDisconnectsAndOneClickReconnects()
{
    QFETCH(bool, linkOnly);
    Plugged p;
    p.ConnectThroughTheDialog();
    QVERIFY(p.ReadBackMarked());
    QVERIFY(!p.OfferShown());

    p.now += 5s;
    p.Unplug(linkOnly);
    QVERIFY(QTest::qWaitFor([&] { return p.doc.portNumber == 0; }, 10000));
    QVERIFY(!p.window->Session().Online());
    QVERIFY(!p.window->Comm().IsOpen());
    QCOMPARE(p.InfoText(), QStringLiteral("未连接设备，脱机"));
    QVERIFY(!p.ReadBackMarked());
    QVERIFY(!p.OfferShown());
    QVERIFY(p.prompt.shown.empty());

    p.now += 20s;
    p.PlugAndSettle(linkOnly);
    QVERIFY(QTest::qWaitFor([&] { return p.OfferShown(); }, 10000));
    QCOMPARE(p.Offer()->text(), QStringLiteral("重新连接 COM9"));
    QVERIFY(p.OfferOnScreen());
    QCOMPARE(p.StatusLine(), QStringLiteral("COM9 已重新插入"));

    QVERIFY(test::OperatorClick(p.Offer()));
    QVERIFY(QTest::qWaitFor([&] { return p.Online(); }, 10000));
    QVERIFY(p.ReadBackMarked());
    QVERIFY(!p.OfferShown());
    QVERIFY(!p.OfferOnScreen());
    QCOMPARE(p.doc.portNumber, 9);
    QVERIFY(p.prompt.shown.empty());
    QCOMPARE(p.StatusLine(), QStringLiteral("COM9 已连接"));  // no longer "re-inserted"

    // Watched afresh: a second unplug is reported like the first.
    p.now += 5s;
    p.Unplug(linkOnly);
    QVERIFY(QTest::qWaitFor([&] { return p.doc.portNumber == 0; }, 10000));
}

void HotplugWindowTest::noOfferForAnotherDeviceOrAfterTheMinute()
{
    Plugged p;
    p.ConnectThroughTheDialog();
    p.Unplug();

    // Another device plugged in meanwhile, as COM8.
    p.newsWithLink.clear();
    test::PtyPair other;
    QVERIFY(PublishPortLink(8, other.SlavePath()));
    QVERIFY(QTest::qWaitFor([&] { return !p.newsWithLink.empty(); }, 10000));
    QTest::qWait(100);
    QVERIFY(!p.OfferShown());
    QCOMPARE(p.StatusLine(), QStringLiteral("COM9 已拔出，设备已断开"));

    // COM9 itself, in time: offered; the offer lasts its minute on the
    // window's clock, then goes.
    p.now += 30s;
    p.PlugAndSettle();
    QVERIFY(QTest::qWaitFor([&] { return p.OfferShown(); }, 10000));
    QSignalSpy looks(p.window->findChild<QTimer*>("reconnectOfferTimer"), &QTimer::timeout);
    p.now += 59s;
    QVERIFY(looks.wait(5000));
    QVERIFY(p.OfferShown());
    p.now += 2s;
    QVERIFY(looks.wait(5000));
    QVERIFY(!p.OfferShown());

    // Unplugged again without a connection: nothing is watched any more.
    p.now += 1s;
    p.sim.Command("unplug");
    QVERIFY(!p.sim.WaitForLine("unplugged").empty());
    p.PlugAndSettle();
    QVERIFY(!p.OfferShown());

    // Connected, unplugged, and back a minute and a second later.
    p.ConnectThroughTheDialog();
    p.Unplug();
    p.now += 61s;
    p.PlugAndSettle();
    QVERIFY(!p.OfferShown());
    QCOMPARE(p.doc.portNumber, 0);
}

void HotplugWindowTest::deliberateStepsWithdrawTheOffer_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<bool>("online");
    QTest::newRow("disconnect") << static_cast<int>(CommandId::Disconnect) << false;
    QTest::newRow("connect") << static_cast<int>(CommandId::Connect) << true;
}

void HotplugWindowTest::deliberateStepsWithdrawTheOffer()
{
    QFETCH(int, command);
    QFETCH(bool, online);
    Plugged p;
    p.ConnectThroughTheDialog();
    p.Unplug();
    p.PlugAndSettle();
    QVERIFY(QTest::qWaitFor([&] { return p.OfferShown(); }, 10000));
    if (static_cast<CommandId>(command) == CommandId::Connect)
        p.ConnectThroughTheDialog();
    else
        p.window->Action(static_cast<CommandId>(command))->trigger();
    QVERIFY(!p.OfferShown());
    QCOMPARE(p.Online(), online);
}

QTEST_MAIN(HotplugWindowTest)
#include "HotplugWindowTest.moc"
