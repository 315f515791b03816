#include "app/PaneLayout.h"

#include <gtest/gtest.h>

#include <ostream>

namespace quillon {
namespace {

struct PaneCase {
    const char* name;
    int viewMode;
    bool g, m, d, i, port;
    std::optional<PaneRows> rows;  // for H = 601
};

void PrintTo(const PaneCase& c, std::ostream* os)
{
    *os << c.name;
}

class PaneLayoutTest : public ::testing::TestWithParam<PaneCase> {};

TEST_P(PaneLayoutTest, RowHeights)
{
    const PaneCase& c = GetParam();
    PaneLayoutInput in{c.viewMode, c.g, c.m, c.d, c.i, c.port, 601};
    EXPECT_EQ(ComputePaneRows(in), c.rows);
}

constexpr auto kRefused = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    BothViews, PaneLayoutTest,
    ::testing::Values(
        // Configuration view: G barcode, M device.
        PaneCase{"BarcodeOnly", 0, true, false, false, false, false, PaneRows{601, 0}},
        PaneCase{"DeviceOnly", 0, false, true, false, false, true, PaneRows{0, 601}},
        PaneCase{"Both", 0, true, true, false, false, true, PaneRows{400, 200}},
        PaneCase{"Neither", 0, false, false, false, false, false, PaneRows{300, 300}},
        PaneCase{"DeviceWithoutPort", 0, true, true, false, false, false, kRefused},
        PaneCase{"MonitorBoxesIgnored", 0, true, false, true, true, false, PaneRows{601, 0}},
        // Monitor view: D decoded output, I image.
        PaneCase{"Decoded", 1, true, false, true, false, true, PaneRows{400, 200}},
        PaneCase{"Image", 1, true, false, false, true, true, PaneRows{0, 601}},
        PaneCase{"DecodedAndImage", 1, false, false, true, true, true, PaneRows{300, 300}},
        PaneCase{"NoMonitorBox", 1, false, false, false, false, false, PaneRows{300, 300}},
        PaneCase{"DecodedWithoutPort", 1, false, false, true, false, false, kRefused},
        PaneCase{"ImageWithoutPort", 1, false, false, false, true, false, kRefused},
        PaneCase{"DeviceBoxIgnored", 1, false, true, false, false, false, PaneRows{300, 300}}),
    [](const ::testing::TestParamInfo<PaneCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quillon
