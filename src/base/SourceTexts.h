#pragma once
#include <span>

namespace quillon {

// Every Chinese text of the programs' sources, in the translation context
// "Quillon" (i18n/SourceTexts.cpp, written by scripts/source-texts).
std::span<const char* const> SourceTexts();

}  // namespace quillon
