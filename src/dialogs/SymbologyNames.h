#pragma once
#include <optional>
#include <span>
#include <string_view>

namespace quillon {

// The symbologies a device value can name, in the order the program lists
// them, with the device's decimal code for each (15 is not used).
struct SymbologyName {
    const char* name;
    int code;
};

std::span<const SymbologyName> SymbologyNames();

// The code of the symbology with exactly this name, or nullopt.
std::optional<int> FindSymbologyCode(std::string_view name);

}  // namespace quillon
