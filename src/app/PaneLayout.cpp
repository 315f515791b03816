#include "app/PaneLayout.h"

namespace quillon {

std::optional<PaneRows> ComputePaneRows(const PaneLayoutInput& in)
{
    const int H = in.height;
    if (in.viewMode == ViewMode::Monitor) {
        if ((in.decodeOutput || in.imageExtract) && !in.portConfigured)
            return std::nullopt;
        if (in.decodeOutput && !in.imageExtract)
            return PaneRows{2 * H / 3, H / 3};
        if (in.imageExtract && !in.decodeOutput)
            return PaneRows{0, H};
        return PaneRows{H / 2, H / 2};
    }
    if (in.sendToDevice && !in.portConfigured)
        return std::nullopt;
    if (in.makeBarcode && !in.sendToDevice)
        return PaneRows{H, 0};
    if (!in.makeBarcode && in.sendToDevice)
        return PaneRows{0, H};
    if (in.makeBarcode && in.sendToDevice)
        return PaneRows{2 * H / 3, H / 3};
    return PaneRows{H / 2, H / 2};
}

}  // namespace quillon
