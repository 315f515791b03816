#pragma once
#include <string>

namespace quillon {

// The product version as the about box and the title show it.
std::string ProductVersion();

// "Quillon", the version and the build tag, with nothing of the document.
std::string MainWindowTitle();

// The help document, opened from the working folder.
inline constexpr const char* kHelpFileName = "帮助文档.docx";

}  // namespace quillon
