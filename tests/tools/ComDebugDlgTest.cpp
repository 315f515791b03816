// The command interaction dialog opened from the window's menu, driven
// through its buttons and keys, against a line the test plays on a real
// pseudo-terminal.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "app/MainFrame.h"
#include "base/SavePathStore.h"
#include "catalogue/FormTree.h"
#include "device/QtDeviceTimers.h"
#include "document/QuillonDoc.h"
#include "serial/DevicePort.h"
#include "serial/PortLinks.h"
#include "serial/PtyPair.h"
#include "support/RecordingPrompt.h"
#include "support/WindowDriving.h"
#include "tools/ComDebugDlg.h"

namespace quillon::test {
namespace {

constexpr int kPort = 7;

// Sees a mouse button released over a widget: the operator's click has
// reached it.
class ReleaseWatch : public QObject {
public:
    explicit ReleaseWatch(QWidget* widget) { widget->installEventFilter(this); }
    bool released = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        released = released || event->type() == QEvent::MouseButtonRelease;
        return false;
    }
};

class ComDebugDlgTest : public ::testing::Test {
protected:
    ComDebugDlgTest()
    {
        MainFrameParts parts;
        parts.prompt = &prompt;
        parts.savePaths = &store;
        window = std::make_unique<CMainFrame>(doc, parts);
        window->InitialUpdate();
        window->show();
        EXPECT_TRUE(PublishPortLink(kPort, pty.SlavePath()));
        doc.portNumber = kPort;
        doc.baudRate = 115200;
        EXPECT_TRUE(OpenDevicePort(window->Comm(), doc.portNumber, doc.baudRate));
        window->Session().PortOpened();
        // Replies rest with the setting writes, as with "修改设备参数" ticked.
        window->Form()->SetSendToDeviceChecked(true);
        EXPECT_EQ(Route(), 1);
    }

    int Route() const { return static_cast<int>(window->Session().Link().Route()); }

    // Chooses "命令交互" in the menu and runs `steps` in the dialog it shows;
    // the steps end with the dialog closed, or it is closed with "关闭".
    void RunDialog(const std::function<void(CComDebugDlg&)>& steps)
    {
        bool ran = false;
        QTimer::singleShot(0, window.get(), [&] {
            auto* dialog = qobject_cast<CComDebugDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            steps(*dialog);
            ran = true;
            if (dialog->isVisible())
                Click(*dialog, "close");
        });
        window->Action(CommandId::CommandInteraction)->trigger();
        EXPECT_TRUE(ran);
    }
    static QPushButton* Button(const CComDebugDlg& dialog, const char* name)
    {
        return dialog.findChild<QPushButton*>(name);
    }
    static QLineEdit* Command(const CComDebugDlg& dialog) { return dialog.findChild<QLineEdit*>("command"); }
    static QPlainTextEdit* LogBox(const CComDebugDlg& dialog) { return dialog.findChild<QPlainTextEdit*>("log"); }
    // The operator's mouse and keyboard (through the X server under Xvfb).
    static void Type(const CComDebugDlg& dialog, const QString& text)
    {
        QLineEdit* edit = Command(dialog);
        edit->clear();
        if (!OnRealDisplay())
            QTest::keyClicks(edit, text);
        else
            EXPECT_TRUE(OperatorClick(edit) && XDoTool({"type", "--delay", "10", text}));
        EXPECT_TRUE(QTest::qWaitFor([&] { return edit->text() == text; }, 5000));
    }
    static void Click(const CComDebugDlg& dialog, const char* button)
    {
        ReleaseWatch watch(Button(dialog, button));
        EXPECT_TRUE(OperatorClick(Button(dialog, button)));
        EXPECT_TRUE(QTest::qWaitFor([&] { return watch.released; }, 5000));
    }
    // The device answers and the log box shows `shown`.
    bool Answer(const CComDebugDlg& dialog, const std::string& bytes, const QString& shown)
    {
        pty.Write(bytes);
        return QTest::qWaitFor([&] { return LogBox(dialog)->toPlainText() == shown; }, 5000);
    }

    PortSandbox sandbox;
    PtyPair pty;
    TempDir dir;
    RecordingPrompt prompt;
    SavePathStore store{QString::fromStdString((dir.Path() / "savepath.conf").string())};
    CQuillonDoc doc;
    std::unique_ptr<CMainFrame> window;
};

TEST_F(ComDebugDlgTest, SendsTypedCommandsAndShowsTheirReplies)
{
    RunDialog([&](CComDebugDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "命令交互");
        QStringList labels;
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            labels << label->text();
        EXPECT_TRUE(labels.contains("发送命令：") && labels.contains("数据显示："));
        EXPECT_EQ(Button(dialog, "send")->text(), "发送");
        EXPECT_EQ(Button(dialog, "clear")->text(), "清除");
        EXPECT_EQ(Button(dialog, "close")->text(), "关闭");
        EXPECT_TRUE(LogBox(dialog)->isReadOnly());
        EXPECT_EQ(Route(), 7);

        Type(dialog, "55AA01");
        Click(dialog, "send");
        EXPECT_EQ(pty.Read(3), "\x55\xAA\x01");
        // The command shows with its reply.
        EXPECT_EQ(LogBox(dialog)->toPlainText(), "");
        EXPECT_TRUE(Answer(dialog, "\x55\xAA", "-> 0x55 0xAA 0x01 \n<- 0x55 0xaa "))
            << LogBox(dialog)->toPlainText().toStdString();

        // Enter in the command box sends too.
        Type(dialog, "0a b");
        QTest::keyClick(Command(dialog), Qt::Key_Return);
        EXPECT_EQ(pty.Read(2), "\x0a\xff");
        EXPECT_TRUE(Answer(dialog, "\x7f", "-> 0x55 0xAA 0x01 \n<- 0x55 0xaa \n-> 0x0a 0x b \n<- 0x7f "));

        // Five characters: the message, nothing sent, the log as it was.
        Type(dialog, "55AA0");
        Click(dialog, "send");
        EXPECT_EQ(prompt.Texts(), std::vector<std::string>{"输入命令长度错误，请重试！"});
        EXPECT_EQ(prompt.shown.at(0).kind, RecordingPrompt::Shown::Error);
        EXPECT_EQ(pty.Read(1, 200), "");

        Click(dialog, "clear");
        EXPECT_EQ(LogBox(dialog)->toPlainText(), "");
        EXPECT_EQ(Route(), 7);

        // A long exchange keeps its last line in sight.
        QString expected;
        for (int i = 0; i < 25; ++i) {
            Type(dialog, "01");
            Click(dialog, "send");
            expected += QStringLiteral("%1-> 0x01 \n<- 0x02 ").arg(i ? "\n" : "");
            ASSERT_TRUE(Answer(dialog, "\x02", expected));
        }
        EXPECT_EQ(pty.Read(25), std::string(25, '\x01'));
        const QScrollBar* bar = LogBox(dialog)->verticalScrollBar();
        EXPECT_GT(bar->maximum(), 0);
        EXPECT_EQ(bar->value(), bar->maximum());
    });
    EXPECT_EQ(Route(), 1);

    // Opened again: an empty log, and the replies come here again.
    RunDialog([&](CComDebugDlg& dialog) {
        EXPECT_EQ(LogBox(dialog)->toPlainText(), "");
        EXPECT_EQ(Route(), 7);
        Type(dialog, "A1");
        Click(dialog, "send");
        EXPECT_EQ(pty.Read(1), "\xa1");
        EXPECT_TRUE(Answer(dialog, "\xa1", "-> 0xA1 \n<- 0xa1 "));
        // Escape closes it like "关闭".
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_EQ(Route(), 1);
}

TEST_F(ComDebugDlgTest, NoReplyWithinTheHourIsReported)
{
    const auto* timers = window->findChild<QtDeviceTimers*>();
    ASSERT_NE(timers, nullptr);
    RunDialog([&](CComDebugDlg& dialog) {
        Type(dialog, "55AA01");
        Click(dialog, "send");
        EXPECT_EQ(pty.Read(3), "\x55\xAA\x01");
        EXPECT_TRUE(timers->IsRunning(DeviceTimer::Interaction));
        // The hour passes.
        window->Session().OnTimer(DeviceTimer::Interaction);
        EXPECT_EQ(prompt.Texts(), std::vector<std::string>{"无法识别的命令，请重试！"});
        EXPECT_EQ(LogBox(dialog)->toPlainText(), "");
        // The log was left as it was: the next reply shows it.
        Type(dialog, "02");
        Click(dialog, "send");
        EXPECT_TRUE(Answer(dialog, "\x20", "-> 0x55 0xAA 0x01 \n<- \n-> 0x02 \n<- 0x20 "));
        Type(dialog, "03");
        Click(dialog, "send");
        EXPECT_TRUE(timers->IsRunning(DeviceTimer::Interaction));
    });
    // Closing the dialog ends the wait: no message for a dialog that is gone.
    EXPECT_FALSE(timers->IsRunning(DeviceTimer::Interaction));
}

}  // namespace
}  // namespace quillon::test
