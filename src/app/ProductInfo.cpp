#include "app/ProductInfo.h"

namespace quillon {

namespace {
// Marks builds for this desktop, so a screenshot tells which build it came from.
constexpr const char* kBuildTag = "LNX";
}  // namespace

std::string ProductVersion()
{
    return std::string(" V") + QUILLON_VERSION;
}

std::string MainWindowTitle()
{
    return "Quillon" + ProductVersion() + " " + kBuildTag;
}

}  // namespace quillon
