#include "app/StartOptions.h"

#include "serial/ProgramTrace.h"

#include <QFile>

#include <cstdio>

namespace quillon {

namespace {

constexpr int kBadArguments = 2;

void Print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

}  // namespace

StartOptions::StartOptions()
    : catalogue_(QStringList{"catalogue"}, "Start with the catalogue FILE instead of the one config.ini names.",
                 "FILE"),
      trace_(QStringList{"trace"}, "Write every byte sent and received to FILE (also $QUILLON_TRACE).", "FILE"),
      lang_(QStringList{"lang"},
            "Show the interface in LANG: en (English) or zh (Chinese). The locale decides when not given.", "LANG")
{
    parser_.setApplicationDescription(
        "Quillon configures barcode scanners over a serial port and prints configuration barcodes.");
    parser_.addHelpOption();
    parser_.addVersionOption();
    parser_.addOption(catalogue_);
    parser_.addOption(trace_);
    parser_.addOption(lang_);
}

std::optional<int> StartOptions::AnswerWithoutDisplay(const QStringList& arguments)
{
    parser_.parse(arguments);  // unknown options wait for Parse
    return Answer();
}

std::optional<int> StartOptions::Parse(const QStringList& arguments)
{
    if (!parser_.parse(arguments)) {
        Print(stderr, "quillon: " + parser_.errorText() + "\nRun 'quillon --help' for the options.\n");
        return kBadArguments;
    }
    if (!parser_.positionalArguments().isEmpty()) {
        Print(stderr, "quillon: unexpected argument " + parser_.positionalArguments().front() +
                          "\nRun 'quillon --help' for the options.\n");
        return kBadArguments;
    }
    if (parser_.isSet(lang_) && !LanguageNamed(parser_.value(lang_).toStdString())) {
        Print(stderr, "quillon: --lang must be en or zh, not " + parser_.value(lang_) +
                          "\nRun 'quillon --help' for the options.\n");
        return kBadArguments;
    }
    return Answer();
}

std::optional<int> StartOptions::Answer()
{
    // Qt's own options are listed by --help-all only once a QApplication
    // exists, and never before the display is open; both print this text.
    if (parser_.isSet("help") || parser_.isSet("help-all")) {
        // Before the application object exists Qt cannot know the program's
        // name and writes a placeholder.
        Print(stdout, parser_.helpText().replace("<executable_name>", "quillon"));
        return 0;
    }
    if (parser_.isSet("version")) {
        Print(stdout, "quillon " QUILLON_VERSION "\n");
        return 0;
    }
    return std::nullopt;
}

std::string StartOptions::Catalogue() const
{
    return QFile::encodeName(parser_.value(catalogue_)).toStdString();
}

std::string StartOptions::Trace() const
{
    return ProgramTrace::RequestedPath(QFile::encodeName(parser_.value(trace_)).toStdString());
}

Language StartOptions::InterfaceLanguage() const
{
    return ChooseLanguage(parser_.isSet(lang_) ? LanguageNamed(parser_.value(lang_).toStdString()) : std::nullopt);
}

}  // namespace quillon
