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
#include "support/RecordingPrompt.h"

namespace quillon::test {
namespace {

QStringList Items(const QComboBox* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

class RsParaSetTest : public ::testing::Test {
protected:
    QComboBox* List(const char* name) { return dialog.findChild<QComboBox*>(name); }
    QPushButton* Button(const char* name) { return dialog.findChild<QPushButton*>(name); }

    PortSandbox sandbox;
    PtyPair pty;
    CQuillonDoc doc;
    CnComm comm{kCommEventThread | kCommOverlapped | kCommReceiveBuffer};
    RecordingPrompt prompt;
    std::vector<int> ports{12, 1};
    CRsParaSet dialog{doc, comm, prompt, nullptr, [this] { return ports; }};
};

TEST_F(RsParaSetTest, ShowsItsTextsAndListsEachTimeItOpens)
{
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("通讯参数配置"));
    EXPECT_EQ(dialog.findChild<QGroupBox*>()->title(), QStringLiteral("串口参数设置"));
    EXPECT_EQ(Button("connect")->text(), QStringLiteral("连接"));
    EXPECT_EQ(Button("cancel")->text(), QStringLiteral("取消"));
    QStringList labels;
    for (auto* label : dialog.findChildren<QLabel*>())
        labels << label->text();
    for (const char* text : {"端口号：", "波特率：", "数据位：", "停止位：", "奇偶校验："})
        EXPECT_TRUE(labels.contains(QString::fromUtf8(text))) << text;

    // The lists as the rules give them, the discovered ports in their order.
    EXPECT_EQ(Items(List("port")), (QStringList{"COM12", "COM1"}));
    EXPECT_EQ(List("port")->currentText(), "COM12");
    EXPECT_TRUE(List("port")->isEditable() && List("baud")->isEditable());
    EXPECT_EQ(List("baud")->count(), 10);
    EXPECT_EQ(List("baud")->currentText(), "115200");
    for (const auto& [name, current] : {std::pair{"dataBits", "8"}, {"stopBits", "1"}, {"parity", "None"}}) {
        EXPECT_EQ(List(name)->currentText(), current);
        EXPECT_FALSE(List(name)->isEnabled()) << name;
    }
    dialog.hide();

    ports = {3};
    dialog.show();
    EXPECT_EQ(Items(List("port")), QStringList{"COM3"});
    dialog.hide();
}

TEST_F(RsParaSetTest, AFailedConnectKeepsTheDialogOpenAndALaterOneAccepts)
{
    ASSERT_TRUE(PublishPortLink(7, pty.SlavePath()));
    ports = {};
    QTimer::singleShot(0, [this] {
        EXPECT_EQ(List("port")->count(), 0);
        List("port")->lineEdit()->setText("COM5");
        List("baud")->lineEdit()->setText("9600");
        QTest::mouseClick(Button("connect"), Qt::LeftButton);
        EXPECT_EQ(prompt.Texts(), std::vector<std::string>{"串口打开失败！"});
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(List("port")->currentText(), "COM5");
        EXPECT_EQ(doc.portNumber, 0);
        EXPECT_EQ(doc.baudRate, 0);
        prompt.shown.clear();
        List("port")->lineEdit()->setText("COM7");
        List("baud")->setCurrentIndex(8);
        QTest::mouseClick(Button("connect"), Qt::LeftButton);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(doc.portNumber, 7);
    EXPECT_EQ(doc.baudRate, 9600);
    EXPECT_TRUE(comm.IsOpen());
    EXPECT_TRUE(prompt.shown.empty());
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
    EXPECT_EQ(doc.portNumber, 4);
    EXPECT_EQ(doc.baudRate, 57600);
    EXPECT_FALSE(comm.IsOpen());
}

TEST(QtCommNotifierTest, NotificationsArriveOnTheWindowThread)
{
    PortSandbox sandbox;
    PtyPair pty;
    QtCommNotifier notifier;
    QSignalSpy spy(&notifier, &QtCommNotifier::notified);
    CnComm comm(kCommEventThread | kCommOverlapped | kCommReceiveBuffer);
    comm.SetNotificationSink(&notifier);
    ASSERT_TRUE(PublishPortLink(33, pty.SlavePath()));
    ASSERT_TRUE(comm.OpenByNumber(33, 115200));
    Qt::HANDLE guiThread = QThread::currentThreadId();
    Qt::HANDLE emittedOn = nullptr;
    QObject::connect(&notifier, &QtCommNotifier::notified,
                     [&] { emittedOn = QThread::currentThreadId(); });
    pty.Write("abc");
    ASSERT_TRUE(spy.wait(3000));
    EXPECT_EQ(spy.front().at(0).toUInt(), unsigned(kNotifyReceived));
    EXPECT_EQ(spy.front().at(1).toInt(), 33);
    EXPECT_EQ(emittedOn, guiThread);
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
