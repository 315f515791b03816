#pragma once
#include "catalogue/SelectionTargets.h"

namespace quillon {

// Stands in for the device link until the frame builder and the serial
// channel are connected to the window: settings chosen online go nowhere.
class UnwiredSettingSender : public ISettingSender {
public:
    void SendSettingFrame(int, const ValueTriple&) override {}
};

}  // namespace quillon
