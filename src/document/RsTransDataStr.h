#pragma once
#include <string>

namespace quillon {

// One chunk of decoded data the device sent, in capture order.
struct RsTransDataStr {
    std::string lineText;
};

}  // namespace quillon
