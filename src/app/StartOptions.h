#pragma once
#include <QCommandLineParser>
#include <QStringList>

#include "base/Language.h"

#include <optional>
#include <string>

namespace quillon {

// The window program's command line: --help, --version, --catalogue FILE,
// --trace FILE and --lang en|zh.
class StartOptions {
public:
    StartOptions();

    // --help and --version are answered before any window exists, so they
    // work without a display: the exit status when one was given.  Options
    // of Qt itself are not known yet and are left for Parse.
    std::optional<int> AnswerWithoutDisplay(const QStringList& arguments);

    // Parses what Qt left of the command line (its own options removed).
    // The exit status when the program is to end: help or version printed,
    // or a wrong argument told on standard error (status 2).
    std::optional<int> Parse(const QStringList& arguments);

    // --catalogue FILE, empty when not given.
    std::string Catalogue() const;
    // --trace FILE, else $QUILLON_TRACE; empty for neither.
    std::string Trace() const;
    // --lang, else the locale's language.
    Language InterfaceLanguage() const;

private:
    std::optional<int> Answer();

    QCommandLineParser parser_;
    QCommandLineOption catalogue_;
    QCommandLineOption trace_;
    QCommandLineOption lang_;
};

}  // namespace quillon
