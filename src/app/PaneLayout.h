#pragma once
#include "base/ViewMode.h"

#include <optional>

namespace quillon {

// The check boxes that decide how the right column is split.
struct PaneLayoutInput {
    ViewMode viewMode = ViewMode::Configuration;
    bool makeBarcode = false;   // "生成配置条码"
    bool sendToDevice = false;  // "修改设备参数"
    bool decodeOutput = false;  // "解码输出"
    bool imageExtract = false;  // "图像提取"
    bool portConfigured = false;
    int height = 0;  // the right column's client height
};

// Heights of the document view (row 0) and the monitor pane (row 1).
struct PaneRows {
    int document = 0;
    int monitor = 0;
    bool operator==(const PaneRows&) const = default;
};

// nullopt: the layout is refused because a box that needs the device is
// ticked while no port is set; the window then tells the operator and clears
// the boxes that asked for the device ("修改设备参数", or in the monitor view
// "解码输出" and "图像提取"), so the next layout does not refuse again.
std::optional<PaneRows> ComputePaneRows(const PaneLayoutInput& input);

}  // namespace quillon
