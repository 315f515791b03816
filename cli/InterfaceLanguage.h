#pragma once
#include "base/Language.h"

#include <CLI/CLI.hpp>

#include <string>

namespace quillon::cli {

// --lang en|zh, wherever it stands on the command line, else the locale.
// Known before the verbs are made, so that their help speaks it too.
class InterfaceLanguageOption {
public:
    InterfaceLanguageOption(int argc, const char* const* argv);

    // Lets `command` take --lang (before or after the verb) and check it.
    void AddOption(CLI::App& command);

    // Puts what the core shows in the language; false (and said on
    // standard error) when this build has no English texts.
    bool Install() const;

private:
    Language language_;
    std::string given_;
};

}  // namespace quillon::cli
