#pragma once
#include "document/RsComStr.h"
#include "views/IPainter.h"

#include <string>
#include <vector>

namespace quillon {

inline constexpr const char* kMonitorHeading = "串口监控数据显示：";

// The serial monitor's line: direction, length in bytes and each byte as
// "0x.. ".  Empty for a direction that is neither sent nor returned.
std::string MonitorLineText(const RsComStr& line);

// The serial monitor in the lower pane: the heading, then one line per frame
// (sent in black, returned in blue).  Only lines that reach into the visible
// band [top, bottom) are drawn, so a monitor of any length paints at once.
void DrawMonitor(IPainter& painter, const std::vector<RsComStr>& lines, int top, int bottom);

// The pane's total height after the lines: it grows by 200 each time a line
// reaches it.  Lines are in order of their y, as they are appended.
int MonitorTotalHeight(const std::vector<RsComStr>& lines, int totalHeight);

}  // namespace quillon
