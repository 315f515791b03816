#pragma once
#include "base/ViewMode.h"
#include "device/ReplyRoute.h"

namespace quillon {

// What decides the route of replies nobody asked for.
struct RouteInputs {
    ViewMode viewMode = ViewMode::Configuration;
    bool sendToDevice = false;
    bool decodeOutput = false;
    bool imageExtract = false;
};

// Which processor gets replies nobody asked for while no operation runs: in
// the configuration view the setting-write replies while "修改设备参数" is
// ticked; in the monitor view image data while "图像提取" is ticked, else
// decoded output while "解码输出" is; nothing otherwise.
constexpr ReplyRoute RestingReplyRoute(const RouteInputs& in)
{
    switch (in.viewMode) {
    case ViewMode::Configuration: return in.sendToDevice ? ReplyRoute::SettingWrite : ReplyRoute::None;
    case ViewMode::Monitor:
        if (in.imageExtract)
            return ReplyRoute::ImageData;
        return in.decodeOutput ? ReplyRoute::DecodedOutput : ReplyRoute::None;
    }
    return ReplyRoute::None;
}

}  // namespace quillon
