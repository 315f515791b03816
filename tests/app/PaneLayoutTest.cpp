#include "app/PaneLayout.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(PaneLayout, RowHeightsInBothViews)
{
    constexpr std::optional<PaneRows> kRefused;
    const struct { const char* name; PaneLayoutInput in; std::optional<PaneRows> rows; } cases[] = {
        // Configuration view: barcode, device.
        {"barcode only", {0, true, false, false, false, false, 601}, PaneRows{601, 0}},
        {"device only", {0, false, true, false, false, true, 601}, PaneRows{0, 601}},
        {"both", {0, true, true, false, false, true, 601}, PaneRows{400, 200}},
        {"neither", {0, false, false, false, false, false, 601}, PaneRows{300, 300}},
        {"device without port", {0, true, true, false, false, false, 601}, kRefused},
        {"monitor boxes ignored", {0, true, false, true, true, false, 601}, PaneRows{601, 0}},
        // Monitor view: decoded output, image.
        {"decoded", {1, true, false, true, false, true, 601}, PaneRows{400, 200}},
        {"image", {1, true, false, false, true, true, 601}, PaneRows{0, 601}},
        {"decoded and image", {1, false, false, true, true, true, 601}, PaneRows{300, 300}},
        {"no monitor box", {1, false, false, false, false, false, 601}, PaneRows{300, 300}},
        {"decoded without port", {1, false, false, true, false, false, 601}, kRefused},
        {"image without port", {1, false, false, false, true, false, 601}, kRefused},
        {"device box ignored", {1, false, true, false, false, false, 601}, PaneRows{300, 300}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ComputePaneRows(c.in), c.rows) << c.name;
}

}  // namespace
}  // namespace quillon
