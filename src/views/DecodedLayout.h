#pragma once
#include "document/RsTransDataStr.h"
#include "views/IPainter.h"

#include <vector>

namespace quillon {

inline constexpr const char* kDecodedHeading = "扫描设备输出数据显示：";

// The decoded data the device sent, as the monitor view shows it: a heading,
// then every line cut into pieces that fit the pane.
class DecodedLayout {
public:
    explicit DecodedLayout(const std::vector<RsTransDataStr>& lines) : lines_(lines) {}

    // Returns the bottom edge.
    int Draw(IPainter& painter, int clientWidth) const;

private:
    const std::vector<RsTransDataStr>& lines_;
};

}  // namespace quillon
