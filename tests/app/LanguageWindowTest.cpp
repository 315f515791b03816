#include "app/CommandTable.h"
#include "app/InfoBarLayout.h"
#include "app/QtLanguage.h"
#include "app/WndInfoFrm.h"
#include "base/QtText.h"
#include "sim/SimProcess.h"
#include "support/Han.h"
#include "support/MainWindowHarness.h"
#include "support/WindowDriving.h"
#include "tools/FileDownLoad.h"
#include "views/RightViewDown.h"

#include <QAbstractButton>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QTest>

#include <functional>

using namespace quillon;

// The window at 1280 x 800 on a desktop in the language QUILLON_TEST_LANG
// names (en or zh): every control's text whole on the screen and, in
// English, no Chinese left; grabs of the window, its menus and dialogs for
// people to look at (QUILLON_GRABS).
namespace {

constexpr int kWait = 20000;
const QSize kScreen{1280, 800};

Language TestLanguage()
{
    return qEnvironmentVariable("QUILLON_TEST_LANG") == "zh" ? Language::Chinese : Language::English;
}

QString LanguageName()
{
    return TestLanguage() == Language::English ? "en" : "zh";
}

bool HasHan(const QString& text)
{
    return test::HasHan(text.toStdString());
}

// The width a text needs on one line or on the lines it is broken into.
int WidestLine(const QFontMetrics& metrics, const QString& text)
{
    int widest = 0;
    for (const QString& line : text.split('\n'))
        widest = std::max(widest, metrics.horizontalAdvance(QString(line).remove('&')));
    return widest;
}

// Every visible label and button of `top` whose text is cut off, lies
// outside `top`, or is still Chinese in the English interface.
QStringList Misfits(QWidget* top)
{
    QStringList misfits;
    for (QWidget* widget : top->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(top))
            continue;
        QString text;
        int needed = 0;
        int room = 0;
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            text = label->text();
            needed = label->wordWrap() ? 0 : WidestLine(label->fontMetrics(), text);
            room = label->contentsRect().width();
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget); button && !button->icon().isNull()) {
            continue;  // toolbar buttons show their icons
        } else if (button) {
            text = button->text();
            room = button->width();
            needed = qobject_cast<QPushButton*>(button)
                         ? button->sizeHint().width()
                         : button->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, button) +
                               button->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, button) +
                               WidestLine(button->fontMetrics(), text);
        }
        if (text.isEmpty())
            continue;
        if (TestLanguage() == Language::English && HasHan(text))
            misfits << "still Chinese: " + text;
        if (needed > room)
            misfits << QString("%1: needs %2 px, has %3").arg(text).arg(needed).arg(room);
        if (!top->rect().contains(QRect(widget->mapTo(top, QPoint(0, 0)), widget->size())))
            misfits << text + ": outside its window";
    }
    return misfits;
}

// Opens a dialog with `open` and looks at it once it is on the screen: its
// misfits, or why it was not looked at.
QStringList DialogMisfits(const QString& name, const std::function<void()>& open)
{
    QStringList misfits;
    bool looked = false;
    test::WhenShown<QDialog>([&](QDialog* dialog) {
        if (!QTest::qWaitForWindowExposed(dialog))
            misfits << "not exposed";
        QTest::qWait(200);  // the server has drawn it
        misfits << Misfits(dialog);
        if (TestLanguage() == Language::English && HasHan(dialog->windowTitle()))
            misfits << "title still Chinese: " + dialog->windowTitle();
        test::Keep(test::OnScreen(dialog), "dialog-" + LanguageName() + "-" + name);
        looked = true;
        dialog->reject();
    });
    open();
    if (!QTest::qWaitFor([&] { return looked; }, kWait))
        return {"never shown"};
    return misfits;
}

struct Desk : test::MainWindowHarness {
    Desk()
    {
        MainFrameParts parts = Parts();
        parts.dialogs = nullptr;  // the real parameter dialogs
        QVERIFY(Open(parts, kScreen));
        window->SetFirmwareDownload([this] { RunFirmwareDownloadDialog(window.get(), window->Prompt(), store); });
        window->showMaximized();  // the whole screen less the window manager's frame
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTRY_VERIFY(window->frameGeometry().height() <= kScreen.height());
    }
    QString StatusText() const { return window->InfoBar()->statusText()->text(); }
};

}  // namespace

class LanguageWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void theWindowAndEveryMenu();
    void dialogsShowTheirWholeTexts_data();
    void dialogsShowTheirWholeTexts();
    void theMonitorViewOnline();
};

void LanguageWindowTest::initTestCase()
{
    if (!test::OnRealDisplay())
        QSKIP("needs a real X server with a window manager (tests/support/on-desktop)");
    QVERIFY(InstallInterfaceLanguage(*qApp, TestLanguage()));
}

void LanguageWindowTest::theWindowAndEveryMenu()
{
    Desk d;
    QTest::qWait(300);
    test::Keep(test::OnScreen(d.window.get()), "window-" + LanguageName());
    const QStringList misfits = Misfits(d.window.get());
    QVERIFY2(misfits.isEmpty(), qPrintable(misfits.join('\n')));
    QCOMPARE(d.StatusText(), Tr("未连接设备，脱机"));
    QCOMPARE(HasHan(d.tree()->topLevelItem(0)->text(0)), TestLanguage() == Language::Chinese);

    QMenuBar* bar = d.window->menuBar();
    for (QAction* title : bar->actions()) {
        QMenu* menu = title->menu();
        QVERIFY(menu);
        bar->setActiveAction(title);
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        QVERIFY(test::ShownSoon(menu));
        test::Keep(test::OnScreen(menu), "menu-" + LanguageName() + "-" + QString(title->text()).remove('&'));
        for (const QAction* entry : menu->actions()) {
            if (entry->isSeparator())
                continue;
            QVERIFY2(TestLanguage() == Language::Chinese || !HasHan(entry->text()), qPrintable(entry->text()));
            QVERIFY(menu->actionGeometry(const_cast<QAction*>(entry)).width() <= menu->width());
        }
        menu->hide();
        QTRY_VERIFY(!menu->isVisible());
    }
}

void LanguageWindowTest::dialogsShowTheirWholeTexts_data()
{
    QTest::addColumn<QString>("code");  // the option whose dialog it is, or a command
    QTest::newRow("interval") << "64820000";
    QTest::newRow("trigger time-out") << "61820000";
    QTest::newRow("multi-code time-out") << "31830000";
    QTest::newRow("exposure") << "71810000";
    QTest::newRow("code count") << "31810000";
    QTest::newRow("separator") << "31C40000";
    QTest::newRow("output order") << "31860000";
    QTest::newRow("M1 block") << "45CE0000";
    QTest::newRow("add text") << "51C10000";
    QTest::newRow("port") << "connect";
    QTest::newRow("about") << "about";
    QTest::newRow("firmware") << "firmware";
}

void LanguageWindowTest::dialogsShowTheirWholeTexts()
{
    QFETCH(QString, code);
    Desk d;
    const QStringList misfits = DialogMisfits(code, [&] {
        if (code == "connect")
            d.window->Action(CommandId::Connect)->trigger();
        else if (code == "about")
            d.window->Action(CommandId::About)->trigger();
        else if (code == "firmware")
            d.window->Action(CommandId::FirmwareDownload)->trigger();
        else
            QVERIFY(test::OperatorDoubleClick(d.tree(), d.ItemOf(d.RecordWith(code.toStdString(), 3))));
    });
    QVERIFY2(misfits.isEmpty(), qPrintable(misfits.join('\n')));
}

void LanguageWindowTest::theMonitorViewOnline()
{
    test::SimForTool sim(test::WithBundledCatalogue());
    Desk d;
    test::WhenShown<CRsParaSet>([&](CRsParaSet* dialog) {
        test::TypePort(dialog, "COM9");
        test::Press({"Return"});
    });
    d.window->Action(CommandId::Connect)->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(d.StatusText() == Tr("COM9，联机") && !d.ReadBusy(), kWait);
    for (const auto& [name, command] :
         {std::pair{"console", CommandId::CommandInteraction}, std::pair{"version", CommandId::DeviceVersion}}) {
        const QStringList misfits = DialogMisfits(name, [&] { d.window->Action(command)->trigger(); });
        QVERIFY2(misfits.isEmpty(), qPrintable(QString(name) + ": " + misfits.join('\n')));
    }
    d.window->Action(CommandId::MonitorView)->trigger();
    QTRY_COMPARE(d.window->InfoBar()->viewText()->text(), Tr(kViewMonitor));
    QWidget* decoded = d.window->DocumentPane();  // its heading above what the device decodes
    QTRY_VERIFY_WITH_TIMEOUT(d.window->MonitorPane()->isVisible() && test::TextOnScreen(decoded), kWait);
    QTest::qWait(300);
    test::Keep(test::OnScreen(d.window.get()), "monitor-" + LanguageName());
    const QStringList misfits = Misfits(d.window.get());
    QVERIFY2(misfits.isEmpty(), qPrintable(misfits.join('\n')));
    // The size asked before an image is pulled, in the monitor view.
    const QStringList sizeMisfits =
        DialogMisfits("image-size", [&] { d.window->Action(CommandId::ImageExtract)->trigger(); });
    QVERIFY2(sizeMisfits.isEmpty(), qPrintable(sizeMisfits.join('\n')));
}

QTEST_MAIN(LanguageWindowTest)
#include "LanguageWindowTest.moc"
