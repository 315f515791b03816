#include "dialogs/SymbologyNames.h"

namespace quillon {

namespace {

constexpr SymbologyName kNames[] = {
    {"NULL", 0},
    {"QR", 1},
    {"CS", 2},
    {"DM", 3},
    {"PDF417", 4},
    {"AZTEC", 5},
    {"MICROQR", 6},
    {"MICROPDF417", 7},
    {"UPCE", 8},
    {"UPCA", 9},
    {"EAN8", 10},
    {"EAN13", 11},
    {"CODE128", 12},
    {"CODE39", 13},
    {"Interleaved 2 of 5", 14},
    {"CODE93", 16},
    {"CODABAR", 17},
    {"MATRIX", 18},
    {"Standard 2 of 5", 19},
    {"CODE11", 20},
    {"MSI", 21},
    {"GS1 DataBar Omni-Directional", 22},
    {"GS1 DataBar LIMITED", 23},
    {"GS1 DataBar EXPANDED", 24},
    {"PLESSEY", 25},
    {"CHINAPOST", 26},
    {"CODE32", 27},
};

}  // namespace

std::span<const SymbologyName> SymbologyNames()
{
    return kNames;
}

std::optional<int> FindSymbologyCode(std::string_view name)
{
    for (const SymbologyName& entry : kNames) {
        if (name == entry.name)
            return entry.code;
    }
    return std::nullopt;
}

}  // namespace quillon
