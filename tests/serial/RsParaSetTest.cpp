#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "document/QuillonDoc.h"
#include "serial/CnComm.h"
#include "serial/PtyPair.h"
#include "serial/QtCommNotifier.h"
#include "serial/RsParaSet.h"
#include "support/PortEntries.h"
#include "support/RecordingPrompt.h"

namespace quillon::test {
namespace {

// The lists' contents and the connect rules are checked on CRsParaSetRules;
// here the window shows them and its buttons reach them.
class RsParaSetTest : public ::testing::Test {
protected:
    QComboBox* List(const char* name) { return dialog.findChild<QComboBox*>(name); }
    QPushButton* Button(const char* name) { return dialog.findChild<QPushButton*>(name); }

    PortSandbox sandbox;
    PtyPair pty;
    CQuillonDoc doc;
    CnComm comm;
    RecordingPrompt prompt;
    std::vector<int> ports{12, 1};
    CRsParaSet dialog{doc, comm, prompt, nullptr, [this] { return UsbPortsNumbered(ports); }};
};

TEST_F(RsParaSetTest, ShowsItsTextsAndListsEachTimeItOpens)
{
    dialog.show();
    QStringList texts{dialog.windowTitle(), dialog.findChild<QGroupBox*>()->title(), Button("connect")->text(),
                      Button("cancel")->text()};
    for (auto* label : dialog.findChildren<QLabel*>())
        texts << label->text();
    for (const char* text :
         {"通讯参数配置", "串口参数设置", "连接", "取消", "端口号：", "波特率：", "数据位：", "停止位：", "奇偶校验："})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(text))) << text;
    for (const auto& [name, count, current, open] : {std::tuple{"port", 2, "COM12", true},
                                                     {"baud", 10, "115200", true},
                                                     {"dataBits", 4, "8", false},
                                                     {"stopBits", 3, "1", false},
                                                     {"parity", 3, "None", false}}) {
        EXPECT_EQ(List(name)->count(), count) << name;
        EXPECT_EQ(List(name)->currentText(), current);
        EXPECT_EQ(List(name)->isEnabled(), open) << name;
        EXPECT_EQ(List(name)->isEditable(), open) << name;
    }
    dialog.hide();
    ports = {3};
    dialog.show();
    EXPECT_EQ(List("port")->currentText(), "COM3");
    EXPECT_EQ(List("port")->count(), 1);
}

TEST_F(RsParaSetTest, ThePortListFollowsLinksMadeAndRemovedWhileItIsOpen)
{
    dialog.show();
    List("port")->setCurrentIndex(List("port")->findText("COM12"));
    ports = {1, 3, 12};
    ASSERT_TRUE(PublishPortLink(3, pty.SlavePath()));
    QTRY_COMPARE_WITH_TIMEOUT(List("port")->count(), 3, 5000);
    EXPECT_EQ(List("port")->currentText(), "COM12");

    ports = {1, 3};
    RemovePortLink(3);
    QTRY_COMPARE_WITH_TIMEOUT(List("port")->count(), 2, 5000);
    EXPECT_EQ(List("port")->currentText(), "COM12");  // gone, but the operator's choice is not changed under them
    EXPECT_EQ(List("port")->currentIndex(), -1);
}

TEST_F(RsParaSetTest, AFailedConnectKeepsTheDialogOpenAndALaterOneAccepts)
{
    ASSERT_TRUE(PublishPortLink(7, pty.SlavePath()));
    QTimer::singleShot(0, [this] {
        List("port")->lineEdit()->setText("COM5");
        QTest::mouseClick(Button("connect"), Qt::LeftButton);
        EXPECT_EQ(prompt.Texts(), std::vector<std::string>{
                                      "串口打开失败！\n该端口没有对应的设备：设备可能已被拔出。请插上设备，再连接。"});
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(List("port")->currentText(), "COM5");
        List("port")->lineEdit()->setText("COM7");
        List("baud")->setCurrentIndex(8);
        QTest::mouseClick(Button("connect"), Qt::LeftButton);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(std::pair(doc.portNumber, doc.baudRate), std::pair(7, 9600));
}

TEST_F(RsParaSetTest, TheOpenShowsTheBusyCursorUntilItEnds)
{
    ASSERT_TRUE(PublishPortLink(7, pty.SlavePath()));
    std::vector<int> during;
    QTimer::singleShot(0, [&] {
        List("port")->lineEdit()->setText("COM7");
        // Runs while the open is under way: the dialog lets the cursor show
        // before it starts.
        QTimer::singleShot(0, [&] {
            const QCursor* cursor = QApplication::overrideCursor();
            during.push_back(cursor ? cursor->shape() : -1);
        });
        QTest::mouseClick(Button("connect"), Qt::LeftButton);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(during, std::vector<int>{Qt::WaitCursor});
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(RsParaSetTest, CancelChangesNothing)
{
    doc.portNumber = 4;
    doc.baudRate = 57600;
    QTimer::singleShot(0, [this] {
        List("port")->lineEdit()->setText("COM9");
        QTest::mouseClick(Button("cancel"), Qt::LeftButton);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(std::pair(doc.portNumber, doc.baudRate), std::pair(4, 57600));
    EXPECT_FALSE(comm.IsOpen());
}

TEST(QtCommNotifierTest, NotificationsArriveOnTheWindowThread)
{
    PortSandbox sandbox;
    PtyPair pty;
    QtCommNotifier notifier;
    QSignalSpy spy(&notifier, &QtCommNotifier::notified);
    CnComm comm;
    comm.SetNotificationSink(&notifier);
    ASSERT_TRUE(PublishPortLink(33, pty.SlavePath()));
    ASSERT_TRUE(comm.OpenByNumber(33, 115200));
    Qt::HANDLE emittedOn = nullptr;
    QObject::connect(&notifier, &QtCommNotifier::notified, [&] { emittedOn = QThread::currentThreadId(); });
    pty.Write("abc");
    ASSERT_TRUE(spy.wait(3000));
    EXPECT_EQ(spy.front().at(0).toUInt(), unsigned(kNotifyReceived));
    EXPECT_EQ(spy.front().at(1).toInt(), 33);
    EXPECT_EQ(emittedOn, QThread::currentThreadId());
}

}  // namespace
}  // namespace quillon::test

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
