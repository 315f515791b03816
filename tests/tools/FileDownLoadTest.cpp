// The download dialog offscreen, against the simulator's loader: what the
// operator sees before, during and after a transfer.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "base/SavePathStore.h"
#include "serial/PtyPair.h"
#include "serial/SerialLine.h"
#include "sim/SimProcess.h"
#include "support/RecordingPrompt.h"
#include "tools/FileDownLoad.h"
#include "tools/FirmwareFixtures.h"

namespace quillon::test {
namespace {

class FileDownLoadTest : public ::testing::Test {
protected:
    FileDownLoadTest()
    {
        hooks.chooseFile = [this](QWidget*, const QString& startPath, const QString& filter) {
            startPaths.push_back(startPath);
            filters.push_back(filter);
            return chosen;
        };
        hooks.settleMs = 0;
    }
    std::unique_ptr<CFileDownLoad> Open()
    {
        auto dialog = std::make_unique<CFileDownLoad>(prompt, store, nullptr, hooks);
        dialog->show();
        return dialog;
    }
    template <typename T> static T* Find(const CFileDownLoad& dialog, const char* name)
    {
        return dialog.findChild<T*>(name);
    }
    static QPushButton* Button(const CFileDownLoad& dialog, const char* name)
    {
        return Find<QPushButton>(dialog, name);
    }
    static QString Label(const CFileDownLoad& dialog) { return Find<QLabel>(dialog, "progressText")->text(); }
    void Choose(CFileDownLoad& dialog, const fs::path& file)
    {
        chosen = QString::fromStdString(file.string());
        QTest::mouseClick(Button(dialog, "chooseFile"), Qt::LeftButton);
    }
    // Clicks "开始" and waits until it is enabled again.
    bool RunTransfer(CFileDownLoad& dialog)
    {
        QTest::mouseClick(Button(dialog, "start"), Qt::LeftButton);
        EXPECT_FALSE(Button(dialog, "start")->isEnabled());
        EXPECT_EQ(Button(dialog, "close")->text(), "取消");
        return QTest::qWaitFor([&] { return Button(dialog, "start")->isEnabled(); }, 20000);
    }
    fs::path Saved() const { return dir.Path() / "received.bin"; }

    TempDir dir;
    SimForTool sim{{"--firmware-out", (dir.Path() / "received.bin").string()}};  // discovery finds its COM9
    RecordingPrompt prompt;
    SavePathStore store{QString::fromStdString((dir.Path() / "savepath.conf").string())};
    FileDownLoadHooks hooks = FileDownLoadHooks::Defaults();
    QString chosen;
    QStringList startPaths, filters;
};

TEST_F(FileDownLoadTest, ShowsEveryControlAndListsThePorts)
{
    auto dialog = Open();
    EXPECT_EQ(dialog->windowTitle(), "固件下载");
    QStringList texts;
    for (auto* button : dialog->findChildren<QAbstractButton*>())
        texts << button->text();
    for (auto* label : dialog->findChildren<QLabel*>())
        texts << label->text();
    for (const char* text : {"开始", "取消", "选择文件", "端口选择：", "设备配置擦除", "固件修复升级"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(text))) << text;
    auto* port = Find<QComboBox>(*dialog, "port");
    EXPECT_TRUE(port->isEditable());
    EXPECT_EQ(port->currentText(), "COM9");
    EXPECT_FALSE(Find<QCheckBox>(*dialog, "erase")->isChecked());
    auto* bar = Find<QProgressBar>(*dialog, "progress");
    EXPECT_EQ(std::tuple(bar->minimum(), bar->maximum(), bar->value()), std::tuple(0, 100, 0));
}

TEST_F(FileDownLoadTest, TheChosenFileIsShownAndRememberedForNextTime)
{
    auto dialog = Open();
    const fs::path file = dir.Path() / "firmware.ci";
    Choose(*dialog, file);
    chosen.clear();  // the operator cancels the second time
    QTest::mouseClick(Button(*dialog, "chooseFile"), Qt::LeftButton);
    EXPECT_EQ(startPaths, (QStringList{QDir::homePath(), QString::fromStdString(file.string())}));
    EXPECT_EQ(filters.front(), "CI Files(*.ci);;DSP LDR Files (*.ldr);;All Files (*.*)");
    EXPECT_EQ(Find<QLabel>(*dialog, "path")->text(), QString::fromStdString(file.string()));
    EXPECT_EQ(SavePathStore(QString::fromStdString((dir.Path() / "savepath.conf").string())).Read("mzloadpath"),
              QString::fromStdString(file.string()));
}

TEST_F(FileDownLoadTest, AHexFileLoadsAndTheDialogOffersToClose)
{
    auto dialog = Open();
    Choose(*dialog, QUILLON_SIM_FIRMWARE_HEX);
    // A device path typed in place of a COM name.
    Find<QComboBox>(*dialog, "port")->lineEdit()->setText(QString::fromStdString(sim.LinkPath()));
    ASSERT_TRUE(RunTransfer(*dialog));
    EXPECT_EQ(Label(*dialog), "加载完毕!");
    EXPECT_EQ(Find<QProgressBar>(*dialog, "progress")->value(), 100);
    EXPECT_EQ(Button(*dialog, "close")->text(), "关闭");
    EXPECT_TRUE(prompt.Texts().empty());
    EXPECT_EQ(ReadFile(Saved()), ReadFile(QUILLON_SIM_FIRMWARE_BIN));
}

TEST_F(FileDownLoadTest, FailuresAreToldAndStartCanBeClickedAgain)
{
    auto dialog = Open();
    // No file yet.
    ASSERT_TRUE(RunTransfer(*dialog));
    // A refused image.
    sim.Command("fault firmware-fail");
    ASSERT_FALSE(sim.WaitForLine("armed:").empty());
    const fs::path image = dir.Path() / "firmware.ci";
    WriteFile(image, Payload(2 * 4096));
    Choose(*dialog, image);
    ASSERT_TRUE(RunTransfer(*dialog));
    EXPECT_EQ(Label(*dialog), "100%");
    // A loader that answers its handshake wrongly.
    sim.Command("fault garbage");
    ASSERT_FALSE(sim.WaitForLine("armed:").empty());
    ASSERT_TRUE(RunTransfer(*dialog));
    // The device gone before the next try.
    sim.Command("unplug");
    ASSERT_FALSE(sim.WaitForLine("unplugged").empty());
    ASSERT_TRUE(RunTransfer(*dialog));
    EXPECT_EQ(prompt.Texts(), (std::vector<std::string>{"未指定文件名！", "升级失败，请重新升级！",
                                                        "固件修复升级错误，请确认是否固件软件是否支持该功能！",
                                                        "不能打开指定的COM，请尝试别的端口！"}));
    EXPECT_EQ(Button(*dialog, "close")->text(), "取消");
}

TEST_F(FileDownLoadTest, ATimeOutIsSaidInTheProgressLabel)
{
    // The erase's answer is not waited for beyond its time-out; the first
    // record's is, and its silence ends the transfer.
    PtyPair silent;
    hooks.timeouts = {200, 0, 300, 1000, 600};
    auto dialog = Open();
    const fs::path hex = dir.Path() / "one.hex";
    WriteFile(hex, std::string(":0400000001020304F2\n:00000001FF\n"));
    Choose(*dialog, hex);
    Find<QCheckBox>(*dialog, "erase")->setChecked(true);
    Find<QCheckBox>(*dialog, "repair")->setChecked(true);
    Find<QComboBox>(*dialog, "port")->lineEdit()->setText(QString::fromStdString(silent.SlavePath()));
    ASSERT_TRUE(RunTransfer(*dialog));
    EXPECT_EQ(Label(*dialog), "设备无应答，传输停止！");
    EXPECT_EQ(silent.Read(7 + 9 + 1, 500), std::string("\x02\x00\x00\x04\x00\x0F\xEB"
                                                       "\x04\x00\x00\x00\x01\x02\x03\x04\xF2",
                                                       16))
        << "the erase, then the first record, and nothing after it";
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>{});
}

TEST_F(FileDownLoadTest, ClosingDuringATransferStopsItAndFreesThePort)
{
    const fs::path hex = dir.Path() / "large.hex";
    WriteFile(dir.Path() / "large.bin", Payload(256 << 10));
    ASSERT_FALSE(ObjcopyHex(dir.Path() / "large.bin", hex, 0x08000000).empty());
    for (const bool destroyAtOnce : {false, true}) {
        SCOPED_TRACE(destroyAtOnce ? "dialog destroyed" : "dialog closed");
        auto dialog = Open();
        Choose(*dialog, hex);
        QTest::mouseClick(Button(*dialog, "start"), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return Find<QProgressBar>(*dialog, "progress")->value() >= 5; }, 20000));
        if (destroyAtOnce) {
            dialog.reset();
        } else {
            QTest::mouseClick(Button(*dialog, "close"), Qt::LeftButton);
            EXPECT_FALSE(dialog->isVisible());
            EXPECT_EQ(dialog->result(), QDialog::Rejected);
            EXPECT_LT(Find<QProgressBar>(*dialog, "progress")->value(), 100);
        }
        // Reports still queued for the dialog are dropped, none reaches it.
        QTest::qWait(50);
        const int fd = OpenSerialLine(sim.LinkPath());
        EXPECT_GE(fd, 0) << "the window may take its channel back at once";
        CloseSerialLine(fd);
        EXPECT_TRUE(prompt.Texts().empty());
        // The loader was cut off inside a record; as an operator would, the
        // device is unplugged and plugged back before the next try.
        sim.Command("unplug");
        ASSERT_FALSE(sim.WaitForLine("unplugged").empty());
        sim.Command("plug");
        ASSERT_FALSE(sim.WaitForLine("plugged in").empty());
    }
}

}  // namespace
}  // namespace quillon::test
