#pragma once

namespace quillon {

// What the window shows: the settings and their barcodes, or what the
// device sends (decoded output, images).
enum class ViewMode : int {
    Configuration = 0,
    Monitor = 1,
};

}  // namespace quillon
