#include "catalogue/FormTreeLayout.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(FormTreeLayoutTest, ConfigurationViewRowsTreeAndCustomCodeRow)
{
    // W 400, H 900: h = 900/9 - 20 = 80.
    const FormTreeGeometry g = LayoutFormControls(400, 900, ViewMode::Configuration);
    EXPECT_EQ(g.makeBarcode, (Rect{10, 15, 80, 80}));
    EXPECT_EQ(g.invertColours, (Rect{100, 15, 90, 80}));
    EXPECT_EQ(g.sendToDevice, (Rect{200, 15, 90, 80}));
    EXPECT_EQ(g.qrCode, (Rect{300, 15, 90, 80}));
    EXPECT_EQ(g.imageExtract, g.qrCode);
    EXPECT_EQ(g.tree, (Rect{0, 100, 398, 700}));
    EXPECT_EQ(g.description, (Rect{0, 800, 398, 40}));
    // The custom-code row sits under the description, inside the width.
    EXPECT_GE(g.codeEdit.y, g.description.y + g.description.height);
    EXPECT_LE(g.addButton.x + g.addButton.width, 398);
    EXPECT_LT(g.codeLabel.x + g.codeLabel.width, g.codeEdit.x);
    EXPECT_LT(g.codeEdit.x + g.codeEdit.width, g.noteLabel.x);
    EXPECT_LT(g.noteEdit.x + g.noteEdit.width, g.addButton.x);
}

TEST(FormTreeLayoutTest, MonitorViewTreeStartsAtTheTop)
{
    const FormTreeGeometry g = LayoutFormControls(401, 700, ViewMode::Monitor);
    // Integer division throughout: 2*401/4 = 200, 3*401/4 = 300, 8*700/9 = 622.
    EXPECT_EQ(g.sendToDevice, (Rect{200, 15, 90, 57}));
    EXPECT_EQ(g.qrCode, (Rect{300, 15, 91, 57}));
    EXPECT_EQ(g.tree, (Rect{0, 0, 399, 622}));
    EXPECT_EQ(g.description, (Rect{0, 622, 399, 40}));
}

TEST(FormTreeLayoutTest, CaptionsBreakBetweenWords)
{
    const std::pair<const char*, const char*> cases[] = {
        {"生成配置条码", "生成配置\n条码"}, {"条码颜色反转", "条码颜色\n反转"}, {"修改设备参数", "修改设备\n参数"},
        {"生成QR配置码", "生成QR\n配置码"}, {"图像提取", "图像\n提取"},         {"Make codes", "Make\ncodes"},
    };
    for (const auto& [caption, broken] : cases)
        EXPECT_EQ(TwoLineCaption(caption), broken) << caption;
}

TEST(FormTreeLayoutTest, ModeButtons)
{
    const auto configuration = ModeButtons(ViewMode::Configuration);
    const auto monitor = ModeButtons(ViewMode::Monitor);
    EXPECT_TRUE(configuration.configurationBoxes);
    EXPECT_FALSE(monitor.configurationBoxes);
}

}  // namespace
}  // namespace quillon
