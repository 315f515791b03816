#pragma once
#include "base/ViewMode.h"

#include <string>
#include <string_view>

namespace quillon {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

// Where the controls of the tree form go for a client area of W x H.  The
// four option boxes share one row at the top, a ninth of the height; the
// description box sits under the tree, and the custom-code row under that.
struct FormTreeGeometry {
    Rect makeBarcode;    // "生成配置条码"
    Rect invertColours;  // "条码颜色反转"
    Rect sendToDevice;   // "修改设备参数"
    Rect qrCode;         // "生成QR配置码"
    Rect imageExtract;   // "图像提取" (same cell as the QR box; only one is ever shown)
    Rect tree;
    Rect description;
    // The custom-code entry: label, code box, label, description box, button.
    Rect codeLabel;
    Rect codeEdit;
    Rect noteLabel;
    Rect noteEdit;
    Rect addButton;
};

FormTreeGeometry LayoutFormControls(int width, int height, ViewMode viewMode);

// A check-box caption too long for its cell, on two lines broken where a
// reader would: between the two-character words of Chinese text, where
// Chinese meets Latin or at a blank, nearest the middle ("生成配置" and
// "条码", never "生成配" and "置条码").
std::string TwoLineCaption(std::string_view caption);

// Which check boxes a view mode shows.  The decoded-output and image boxes
// only carry state and stay hidden in every mode.
struct ModeButtonVisibility {
    bool configurationBoxes = false;  // "生成配置条码", "修改设备参数", "条码颜色反转", "生成QR配置码"
};

ModeButtonVisibility ModeButtons(ViewMode viewMode);

}  // namespace quillon
