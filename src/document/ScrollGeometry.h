#pragma once

namespace quillon {

// Scroll geometry of a right-hand pane, in view units.
struct ScrollGeometry {
    int totalWidth = 600;
    int totalHeight = 300;
    int lineWidth = 600;
    int lineHeight = 30;
    int pageWidth = 600;
    int pageHeight = 300;
};

}  // namespace quillon
