#pragma once
#include <functional>

namespace quillon {

class IPrompt;

inline constexpr const char* kNoPortForReadText = "无法连接设备，请先设置串口参数！";

// Starts reading every setting back from the device: marks the read as
// running, points replies at the read-back route and sends the requests.
// 1 when started, -1 without a port (the operator is told), -2 while a read
// is already running (nothing is sent).
int BeginReadSettings(int portNumber, int& readBusy, int& replyRoute, IPrompt& prompt,
                      const std::function<void()>& sendRequests);

}  // namespace quillon
