#include "app/PaneLayout.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(PaneLayout, RowHeightsInBothViews)
{
    constexpr std::optional<PaneRows> kRefused;
    constexpr ViewMode C = ViewMode::Configuration;
    constexpr ViewMode M = ViewMode::Monitor;
    const struct {
        const char* name;
        PaneLayoutInput in;
        std::optional<PaneRows> rows;
    } cases[] = {
        // Configuration view: barcode, device.
        {"barcode only", {C, true, false, false, false, false, 601}, PaneRows{601, 0}},
        {"device only", {C, false, true, false, false, true, 601}, PaneRows{0, 601}},
        {"both", {C, true, true, false, false, true, 601}, PaneRows{400, 200}},
        {"neither", {C, false, false, false, false, false, 601}, PaneRows{300, 300}},
        {"device without port", {C, true, true, false, false, false, 601}, kRefused},
        {"monitor boxes ignored", {C, true, false, true, true, false, 601}, PaneRows{601, 0}},
        // Monitor view: decoded output, image.
        {"decoded", {M, true, false, true, false, true, 601}, PaneRows{400, 200}},
        {"image", {M, true, false, false, true, true, 601}, PaneRows{0, 601}},
        {"decoded and image", {M, false, false, true, true, true, 601}, PaneRows{300, 300}},
        {"no monitor box", {M, false, false, false, false, false, 601}, PaneRows{300, 300}},
        {"decoded without port", {M, false, false, true, false, false, 601}, kRefused},
        {"image without port", {M, false, false, false, true, false, 601}, kRefused},
        {"device box ignored", {M, false, true, false, false, false, 601}, PaneRows{300, 300}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ComputePaneRows(c.in), c.rows) << c.name;
}

}  // namespace
}  // namespace quillon
