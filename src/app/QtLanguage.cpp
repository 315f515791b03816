#include "app/QtLanguage.h"

#include "base/ShownText.h"
#include "base/SourceTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace quillon {

bool LoadProgramTexts(Language language)
{
    SetInterfaceLanguage(language);
    if (language == Language::Chinese)
        return true;
    QTranslator translator;
    if (!translator.load(QLocale(QLocale::English), QStringLiteral("quillon"), QStringLiteral("_"),
                         QStringLiteral(":/i18n")))
        return false;
    // Every text is looked up once: the core composes its messages from
    // them and translates through Shown(), which knows nothing of Qt.
    static TextTranslations translations;
    for (const char* source : SourceTexts())
        translations.Add(source, translator.translate("Quillon", source).toStdString());
    SetShownTranslations(&translations);
    return true;
}

bool InstallInterfaceLanguage(QCoreApplication& app, Language language)
{
    const bool loaded = LoadProgramTexts(language);
    if (language == Language::English) {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        return loaded;  // Qt's own texts are English
    }
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    auto* qtTexts = new QTranslator(&app);
    if (!qtTexts->load(chinese, QStringLiteral("qt"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qtTexts;
        return false;
    }
    return QCoreApplication::installTranslator(qtTexts);
}

}  // namespace quillon
