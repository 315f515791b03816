#pragma once
#include "catalogue/FormTreeLayout.h"
#include "views/Rgb.h"

#include <string_view>

namespace quillon {

// Texts and colours of the information bar.
inline constexpr std::string_view kStatusCaption = "当前状态：";
inline constexpr std::string_view kStatusOffline = "未连接设备，脱机";
inline constexpr std::string_view kViewCaption = "当前视图：";
inline constexpr std::string_view kViewConfiguration = "条码配置";
inline constexpr std::string_view kViewMonitor = "解码输出";
inline constexpr std::string_view kOutputFormatCaption = "输出格式：";
inline constexpr std::string_view kOutputFormats[] = {"GBK", "UTF-8"};

inline constexpr Rgb kOfflineColour{255, 0, 0};
inline constexpr Rgb kOnlineColour{0, 125, 255};

// "COM%d，联机" for the port the device answered on.
std::string ConnectedStatusText(int portNumber);

// The view caption follows the splitter: its label starts at x (the width of
// the left pane), the view name 5 to 230 pixels right of it, both 10..30 high.
struct ViewCaptionPlacement {
    Rect label;
    Rect name;
};
ViewCaptionPlacement PlaceViewCaption(int x, int labelWidth);

}  // namespace quillon
