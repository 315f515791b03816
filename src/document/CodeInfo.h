#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

// One configuration entry: a command string, the caption shown above its
// barcode and the barcode's module pattern.  Positions are in view units
// (1/96 inch); the view adds its 50-unit header band to the y values.
struct CodeInfo {
    static constexpr int kMaxModules = 10240;

    std::int32_t captionX = 60;
    std::int32_t captionY = 15;
    std::string caption;
    std::int32_t codeX = 110;
    std::int32_t codeY = 75;
    std::string codeText;
    std::int32_t symbolX = 60;
    std::int32_t symbolY = 35;
    std::int32_t symbolWidth = 0;
    std::int32_t moduleCount = 0;
    std::int32_t barHeight = 35;
    std::int32_t moduleWidth = 1;
    std::int32_t symbolVisible = 1;
    // One byte per module, left to right: 1 bar, 0 space.  Only moduleCount
    // bytes are kept.
    std::vector<std::uint8_t> modules;
    // Why the barcode area is empty (the encoder refused the command string);
    // empty when the bars are there.
    std::string symbolNote;
    // The catalogue option the entry came from and its dialog's input, so the
    // document can be saved as a profile; empty for the ADD button's entries.
    std::string optionCode;
    std::optional<std::string> optionValue;
};

}  // namespace quillon
