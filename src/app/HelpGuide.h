#pragma once
#include "base/Language.h"

#include <string>

namespace quillon {

// The operator's guide that "帮助文档" opens: a "帮助文档.docx" kept in the
// working folder, as the program has always opened, else the guide
// installed with the program.  Both are absolute paths.
std::string ChooseHelpGuide(const std::string& workingFolder, const std::string& installedGuide);

// The guide installed beside a program at `executable`:
// <data>/doc/quillon/guide/index.html, found as the catalogue is; the
// English one, guide/en/index.html, in the English interface.
std::string InstalledGuide(const std::string& executable, Language language = InterfaceLanguage());
// The guide installed with this process.
std::string LocateInstalledGuide();

// What the operator is told when nothing opened the guide: where it is, or
// where it should have been.
std::string HelpNotOpenedText(const std::string& guide, bool exists);

}  // namespace quillon
