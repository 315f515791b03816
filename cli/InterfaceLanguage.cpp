#include "cli/InterfaceLanguage.h"

#include "cli/Messages.h"

#ifdef QUILLON_CLI_TEXTS
#include "app/QtLanguage.h"
#endif

#include <optional>
#include <string_view>

namespace quillon::cli {

namespace {

// The last --lang VALUE or --lang=VALUE; the parser tells of a wrong one.
std::optional<Language> LangArgument(int argc, const char* const* argv)
{
    std::optional<Language> asked;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--")
            break;
        if (argument == "--lang" && i + 1 < argc)
            asked = LanguageNamed(argv[++i]);
        else if (argument.starts_with("--lang="))
            asked = LanguageNamed(argument.substr(7));
    }
    return asked;
}

}  // namespace

InterfaceLanguageOption::InterfaceLanguageOption(int argc, const char* const* argv)
    : language_(ChooseLanguage(LangArgument(argc, argv)))
{
}

void InterfaceLanguageOption::AddOption(CLI::App& command)
{
    command
        .add_option("--lang", given_, "show messages in LANG: en (English) or zh (Chinese); else the locale decides")
        ->type_name("LANG")
        ->check(CLI::IsMember({"en", "zh"}));
}

bool InterfaceLanguageOption::Install() const
{
#ifdef QUILLON_CLI_TEXTS
    if (LoadProgramTexts(language_))
        return true;
#else
    if (language_ == Language::Chinese)
        return true;
#endif
    Complain("the English texts are not in this build; messages stay Chinese");
    return false;
}

}  // namespace quillon::cli
