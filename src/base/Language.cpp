#include "base/Language.h"

#include <cstdlib>
#include <initializer_list>

namespace quillon {

namespace {

Language g_language = Language::Chinese;

std::string_view FirstSet(std::initializer_list<const char*> values)
{
    for (const char* value : values)
        if (value != nullptr && *value != '\0')
            return value;
    return {};
}

}  // namespace

std::optional<Language> LanguageNamed(std::string_view name)
{
    if (name == "en")
        return Language::English;
    if (name == "zh")
        return Language::Chinese;
    return std::nullopt;
}

Language LanguageOfLocale(const char* lcAll, const char* lcMessages, const char* lang)
{
    const std::string_view locale = FirstSet({lcAll, lcMessages, lang});
    // "en", "en_GB.UTF-8", "en@shaw", but not "eo" or "enx".
    const bool english = locale.starts_with("en") && (locale.size() == 2 || locale.find_first_of("_.@") == 2);
    return english ? Language::English : Language::Chinese;
}

Language ChooseLanguage(std::optional<Language> asked)
{
    if (asked)
        return *asked;
    return LanguageOfLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

void SetInterfaceLanguage(Language language)
{
    g_language = language;
}

Language InterfaceLanguage()
{
    return g_language;
}

}  // namespace quillon
