#include "base/SavePathStore.h"
#include "device/PicSizeDlg.h"
#include "device/Progress.h"
#include "device/ReadToolsVer.h"
#include "device/SaveCommands.h"
#include "document/QuillonDoc.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"
#include "views/RightViewDown.h"
#include "views/ViewOptions.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace quillon {
namespace {

std::uint8_t Pattern(int x, int y)
{
    return static_cast<std::uint8_t>(x + 2 * y);
}

// An image as the processor stores it: bottom row first.
void StoreImage(CQuillonDoc& doc, int width, int height)
{
    doc.image.pixels.resize(static_cast<std::size_t>(width * height));
    for (int row = 0; row < height; ++row)
        for (int x = 0; x < width; ++x)
            doc.image.pixels[static_cast<std::size_t>(row * width + x)] = Pattern(x, height - 1 - row);
    doc.image.width = width;
    doc.image.height = height;
    doc.image.byteCount = 11 + doc.image.pixels.size();
    ++doc.image.serial;
}

void ExpectPattern(const QImage& image, int width, int height)
{
    ASSERT_EQ(image.width(), width);
    ASSERT_EQ(image.height(), height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ASSERT_EQ(qGray(image.pixel(x, y)), Pattern(x, y)) << x << "," << y;
}

TEST(PicSizeDlg, ButtonsAndPixelEntry)
{
    test::RecordingPrompt prompt;
    CPicSizeDlg dialog(prompt);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("图像提取参数设置"));
    auto* width = dialog.findChild<QLineEdit*>("width");
    auto* height = dialog.findChild<QLineEdit*>("height");
    const auto press = [&](int id) { dialog.findChild<QRadioButton*>(QStringLiteral("scale%1").arg(id))->click(); };

    dialog.Prepare(640, 480);
    EXPECT_TRUE(dialog.findChild<QRadioButton*>("scale0")->isChecked());
    EXPECT_FALSE(width->isEnabled());
    press(1);
    press(2);  // both factors: 452 x 336, then halved
    EXPECT_EQ(dialog.Held().width, 224);
    EXPECT_EQ(dialog.Held().height, 168);

    press(6);
    EXPECT_TRUE(width->isEnabled());
    width->setText("11");
    height->setText("200");
    dialog.accept();
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>{"提取图片设定像素超过最小限制"});
    EXPECT_EQ(dialog.result(), QDialog::Rejected);  // stays open
    width->setText("101");
    height->setText("50");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Held().width, 100);
    EXPECT_EQ(dialog.Held().height, 48);

    // Every opening starts over from what it is given.
    dialog.Prepare(640, 480);
    EXPECT_TRUE(width->text().isEmpty());
    EXPECT_FALSE(width->isEnabled());
    EXPECT_EQ(dialog.Held().width, 640);

    // A camera too large for the receive area: its full size is refused
    // before anything is asked of the device; a scale that fits is taken.
    dialog.Prepare(1280, 1024);
    dialog.setResult(QDialog::Rejected);  // what the last opening ended with stays otherwise
    dialog.accept();
    EXPECT_EQ(prompt.Texts().back(), "提取图片设定像素超过最大限制");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    press(1);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Held().width, 904);
    EXPECT_EQ(dialog.Held().height, 720);
}

TEST(Progress, ClosesWhenTheTransferEndsAndGivesUpWhenItStalls)
{
    TransferProgress progress;
    CProgress dialog(progress);
    dialog.SetTickInterval(20);  // ten idle ticks (a stall) take far longer than the steps below
    QTimer::singleShot(30, [&] { progress = {1000, 500, false}; });
    QTimer::singleShot(150, [&] {
        EXPECT_EQ(dialog.findChild<QProgressBar*>("bar")->value(), 50);
        EXPECT_EQ(dialog.findChild<QLabel*>("text")->text(), QStringLiteral("数据提取中  50%"));
        progress = {1000, 1000, true};
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);

    progress = {1000, 10, false};
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);  // nothing more arrives
}

TEST(ReadToolsVer, HeadingAndEightFieldsInOrder)
{
    DeviceInfo info;
    for (std::uint8_t code = 0xC1; code <= 0xC8; ++code) {
        const std::vector<std::uint8_t> frame =
            code == 0xC3
                ? std::vector<std::uint8_t>{0x44, 0x02, code, 0, 4, 0x02, 0x80, 0x01, 0xE0}
                : std::vector<std::uint8_t>{0x44, 0x02, code, 0, 2, 'T', static_cast<std::uint8_t>('0' + code - 0xC0)};
        info.ParseInfoReply(frame.data(), frame.size());
    }
    CReadToolsVer dialog;
    dialog.SetFields(VersionFields(info));
    auto* heading = dialog.findChild<QLabel*>("heading");
    EXPECT_EQ(heading->text(), QStringLiteral("条码识别设备版本信息"));
    EXPECT_EQ(heading->font().pointSize(), 16);
    EXPECT_EQ(heading->font().family(), CReadToolsVer::HeadingFamily());
    QStringList texts;
    for (int i = 0; i < 8; ++i)
        texts << dialog.findChild<QLabel*>(QStringLiteral("field%1").arg(i))->text();
    EXPECT_EQ(texts, (QStringList{"软件版本：T2", "T1", "设备图像分辨率为：640pix × 480pix ", "硬件版本：T4",
                                  "设备类型：T7", "设备规格：T8", "生产日期：T6", "设备序列号：T5"}));
    dialog.show();
    EXPECT_FALSE(dialog.findChild<QLabel*>("field1")->isVisible());  // the 0xC1 text is held, not shown
    EXPECT_TRUE(dialog.findChild<QLabel*>("field7")->isVisible());
    dialog.SetFields({});
    EXPECT_TRUE(dialog.findChild<QLabel*>("field0")->text().isEmpty());
}

TEST(RightViewDown, ImageLayoutAndMenuOnlyInTheMonitorViewWithAnImage)
{
    CQuillonDoc doc;
    ViewOptionValues options;
    int saves = 0;
    CRightViewDown pane(
        doc, [&] { return options.viewMode; }, [] { return false; }, [&] { ++saves; });
    pane.setFrameShape(QFrame::NoFrame);
    pane.resize(400, 300);
    pane.show();

    const auto grab = [&] {
        const QImage shot = pane.viewport()->grab().toImage();
        QApplication::processEvents();
        return shot;
    };
    StoreImage(doc, 64, 40);
    grab();
    EXPECT_TRUE(pane.ShownImage().isNull()) << "configuration view";
    EXPECT_EQ(pane.CreateImageMenu(), nullptr);

    options.viewMode = ViewMode::Monitor;
    const QImage shot = grab();
    ExpectPattern(pane.ShownImage(), 64, 40);
    const double scale = pane.logicalDpiX() / 96.0;
    EXPECT_EQ(qGray(shot.pixel(static_cast<int>((5 + 30) * scale), static_cast<int>((5 + 20) * scale))),
              Pattern(30, 20));
    EXPECT_EQ(shot.pixel(2, 2), qRgb(255, 255, 255));  // the margin stays white

    std::unique_ptr<QMenu> menu(pane.CreateImageMenu());
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("图片保存"));
    menu->actions()[0]->trigger();
    EXPECT_EQ(saves, 1);

    StoreImage(doc, 8, 4);  // a new image replaces the one shown
    grab();
    ExpectPattern(pane.ShownImage(), 8, 4);
    doc.ClearMonitorContent();
    grab();
    EXPECT_TRUE(pane.ShownImage().isNull());
    EXPECT_EQ(pane.CreateImageMenu(), nullptr);
}

struct SaveFixture {
    test::TempDir dir;
    CQuillonDoc doc;
    test::RecordingPrompt prompt;
    SavePathStore paths{QString::fromStdString((dir.Path() / "paths.conf").string())};
    QString answer;
    QStringList asked;
    SaveFileChooser choose = [this](const QString& start, const QString& filter) {
        asked << start << filter;
        return answer;
    };
    std::string In(const char* name) const { return (dir.Path() / name).string(); }
};

TEST(SaveCommands, ImageSave)
{
    SaveFixture f;
    EXPECT_FALSE(SaveImageCommand(f.doc, f.paths, f.prompt, f.choose));
    EXPECT_EQ(f.prompt.Texts(), std::vector<std::string>{"当前没有可以保存的图像数据！"});
    EXPECT_TRUE(f.asked.isEmpty());

    StoreImage(f.doc, 6, 5);
    f.answer = QString::fromStdString(f.In("picture"));
    ASSERT_TRUE(SaveImageCommand(f.doc, f.paths, f.prompt, f.choose));
    EXPECT_EQ(f.asked, (QStringList{QDir::homePath(), "Bmp Files (*bmp);;All Files (*.*)"}));
    EXPECT_EQ(f.paths.Read(SavePathStore::kImagePath), f.answer);  // stored as chosen
    const std::string bytes = test::ReadFile(f.In("picture.bmp"));
    EXPECT_EQ(bytes.size(), 1078u + 8 * 5);
    QImage read;
    ASSERT_TRUE(read.load(QString::fromStdString(f.In("picture.bmp")), "BMP"));
    ExpectPattern(read, 6, 5);

    f.asked.clear();
    f.answer = QString::fromStdString(f.In("missing/picture.bmp"));
    EXPECT_FALSE(SaveImageCommand(f.doc, f.paths, f.prompt, f.choose));
    EXPECT_EQ(f.asked.front(), QString::fromStdString(f.In("picture")));  // starts where it left off
    EXPECT_EQ(f.prompt.Texts().back(), "创建图像文件失败！");
    f.answer.clear();  // Cancel
    EXPECT_FALSE(SaveImageCommand(f.doc, f.paths, f.prompt, f.choose));
    EXPECT_EQ(f.prompt.Texts().size(), 2u);
}

TEST(SaveCommands, DecodedOutputSave)
{
    SaveFixture f;
    EXPECT_FALSE(SaveDecodedOutputCommand(f.doc, f.paths, f.prompt, f.choose));
    EXPECT_EQ(f.prompt.Texts(), std::vector<std::string>{"当前文档没有解码输出数据！"});

    f.doc.decodedLines = {{"A"}, {"B"}};
    f.answer = QString::fromStdString(f.In("codes"));
    ASSERT_TRUE(SaveDecodedOutputCommand(f.doc, f.paths, f.prompt, f.choose));
    EXPECT_EQ(f.asked.back(), "Txt Files (*txt);;All Files (*.*)");
    EXPECT_EQ(test::ReadFile(f.In("codes.txt")), std::string("\xFF\xFE"
                                                             "A\0\r\0\n\0B\0\r\0\n\0",
                                                             14));
    EXPECT_EQ(f.paths.Read(SavePathStore::kDecodedOutputPath), f.answer);

    f.answer = QString::fromStdString(f.In("kept.txt"));
    ASSERT_TRUE(SaveDecodedOutputCommand(f.doc, f.paths, f.prompt, f.choose));
    EXPECT_EQ(test::ReadFile(f.In("kept.txt")).size(), 14u);

    f.answer = QString::fromStdString(f.In("no/such/folder/codes"));
    EXPECT_FALSE(SaveDecodedOutputCommand(f.doc, f.paths, f.prompt, f.choose));
    EXPECT_EQ(f.prompt.Texts().back(), "创建解码输出文件失败！");
}

}  // namespace
}  // namespace quillon
