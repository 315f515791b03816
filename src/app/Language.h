#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// The language of what the programs show.  Chinese is the original; every
// text has its Chinese source as the key of its English translation.
enum class Language { Chinese, English };

// "en" or "zh" as given to --lang; nothing for any other word.
std::optional<Language> LanguageNamed(std::string_view name);

// The language of a locale as POSIX picks it: the first of LC_ALL,
// LC_MESSAGES and LANG that is set and not empty.  English for en*, Chinese
// for everything else (zh*, C, POSIX, or a language without a translation).
Language LanguageOfLocale(const char* lcAll, const char* lcMessages, const char* lang);

// The process's locale environment, unless --lang named one.
Language ChooseLanguage(std::optional<Language> asked);

// Chosen once at start; what the core picks by language (the bundled
// catalogue, the operator's guide) asks here.
void SetInterfaceLanguage(Language language);
Language InterfaceLanguage();

// Texts the core composes for display pass through here, so that a
// translation set by the interface reaches them; unchanged while none is.
using TextTranslator = std::string (*)(std::string_view text);
void SetTextTranslator(TextTranslator translator);
std::string Shown(std::string_view text);

}  // namespace quillon
