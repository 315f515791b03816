#pragma once
#include "base/Language.h"

class QCoreApplication;

namespace quillon {

// Puts what the core shows (Shown) in `language`: the English texts are
// built into the programs; Chinese is the original and needs none.  Needs
// no application object, so the command-line tool uses it too.  false when
// the English texts could not be loaded: the texts then stay Chinese.
bool LoadProgramTexts(Language language);

// The window's language: the program's texts and Qt's own (standard
// buttons, file and print dialogs), whatever the desktop's language.  Qt's
// Chinese texts come from Qt's translations folder.  false when a
// translation could not be loaded: its texts stay in their first language.
bool InstallInterfaceLanguage(QCoreApplication& app, Language language);

}  // namespace quillon
