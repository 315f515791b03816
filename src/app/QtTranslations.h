#pragma once

class QCoreApplication;

namespace quillon {

// Loads Qt's own texts (standard buttons, file and print dialogs) in the
// program's language, Chinese, from Qt's translations folder, whatever the
// desktop's language: the program's own texts are Chinese.  false when the
// translations are not installed; Qt's texts then stay in English.
bool InstallQtTranslations(QCoreApplication& app);

}  // namespace quillon
