#pragma once
#include "device/ReplyRoute.h"

namespace quillon {

// Which processor gets replies nobody asked for once an operation ends: in
// the configuration view the setting-write replies while "修改设备参数" is
// ticked; in the monitor view image data while "图像提取" is ticked, else
// decoded output while "解码输出" is; nothing otherwise.
struct RouteInputs {
    int viewMode = 0;
    bool sendToDevice = false;
    bool decodeOutput = false;
    bool imageExtract = false;
};

constexpr ReplyRoute RestingReplyRoute(const RouteInputs& in)
{
    if (in.viewMode == 0)
        return in.sendToDevice ? ReplyRoute::SettingWrite : ReplyRoute::None;
    if (in.viewMode == 1) {
        if (in.imageExtract)
            return ReplyRoute::ImageData;
        return in.decodeOutput ? ReplyRoute::DecodedOutput : ReplyRoute::None;
    }
    return ReplyRoute::None;
}

}  // namespace quillon
