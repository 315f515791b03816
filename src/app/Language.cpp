#include "app/Language.h"

#include <cstdlib>

namespace quillon {

namespace {

Language g_language = Language::Chinese;
TextTranslator g_translator = nullptr;

const char* FirstSet(std::initializer_list<const char*> values)
{
    for (const char* value : values)
        if (value != nullptr && *value != '\0')
            return value;
    return "";
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
    const bool english = locale.starts_with("en") && (locale.size() == 2 || locale[2] == '_' || locale[2] == '.' ||
                                                      locale[2] == '@');
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

void SetTextTranslator(TextTranslator translator)
{
    g_translator = translator;
}

std::string Shown(std::string_view text)
{
    return g_translator != nullptr ? g_translator(text) : std::string(text);
}

}  // namespace quillon
