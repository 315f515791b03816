#pragma once
#include <optional>
#include <string_view>

namespace quillon {

// The language of what the programs show.  Chinese is the original; every
// English text is keyed by the Chinese text it translates.
enum class Language { Chinese, English };

// "en" or "zh" as given to --lang; nothing for any other word.
std::optional<Language> LanguageNamed(std::string_view name);

// The language of a locale as POSIX picks it: the first of LC_ALL,
// LC_MESSAGES and LANG that is set and not empty.  English for en*, Chinese
// for everything else (zh*, C, POSIX, or a language without a translation).
Language LanguageOfLocale(const char* lcAll, const char* lcMessages, const char* lang);

// --lang when given, else the process's locale.
Language ChooseLanguage(std::optional<Language> asked);

// Chosen once at start; what is picked by language (the bundled catalogue,
// the operator's guide) asks here.
void SetInterfaceLanguage(Language language);
Language InterfaceLanguage();

}  // namespace quillon
