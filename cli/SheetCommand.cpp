#include "app/ConfigLocation.h"
#include "catalogue/CatalogueLoader.h"
#include "catalogue/CatalogueTree.h"
#include "catalogue/XmlReader.h"
#include "cli/Interrupts.h"
#include "cli/Messages.h"
#include "cli/OutputTarget.h"
#include "cli/PortOptions.h"
#include "cli/StderrPrompt.h"
#include "cli/Verbs.h"
#include "document/QuillonDoc.h"
#include "profile/OptionEntries.h"
#include "profile/ProfileReader.h"
#include "views/SheetWriter.h"
#include "views/ViewOptions.h"

#include <CLI/CLI.hpp>
#include <QBuffer>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillon::cli {

namespace {

// libzint's limit of one Code 128 symbol.
constexpr const char* kCode128Capacity = "60 symbol characters: 60 letters, or 118 digits";

// As fine as the PDF is drawn; far beyond any printer or decoder's need.
constexpr int kMaxDpi = SheetWriter::kPdfResolution;

// One document entry as asked for: a catalogue option or a custom code.
struct Item {
    bool custom = false;
    std::string code;
    std::optional<std::string> value;  // option: the dialog input
    std::string description;           // custom: its caption
};

// The sub-command's option values as the parser leaves them.
struct SheetArgs {
    std::string output;
    std::string format = "pdf";  // of standard output
    std::string catalogue;       // empty: the one the window would load
    std::string convert;
    std::string profile;  // its settings come before the command line's items
    bool invert = false;
    int dpi = 0;                       // 0: the pane's own
    std::vector<std::string> customs;  // CODE:DESCRIPTION
    std::vector<std::string> codes;    // CODE[=VALUE]
    std::vector<Item> items;           // both, in command-line order
};

// The operator asked for every item on the command line, repeats included.
class SheetPrompt : public StderrPrompt {
public:
    bool AskOkCancel(const std::string& text) override
    {
        Complain(text + " (added again)");
        return true;
    }
    // The window's advice on a code too long for its symbol, and on a
    // document too large to convert, is for an operator who can go on
    // editing; the sheet is refused below in the tool's own words instead.
    void ShowError(const std::string& text) override
    {
        if (text != kTooLongForCode128Text && text != kConversionTooLargeText)
            StderrPrompt::ShowError(text);
    }
};

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// A check of one value; refusal is what the operator is told.
CLI::Validator Check(bool (*accepts)(const std::string&), const char* refusal)
{
    return CLI::Validator([accepts, refusal](std::string& value) { return std::string(accepts(value) ? "" : refusal); },
                          "");
}

bool IsCustomEntry(const std::string& text)
{
    const auto colon = text.find(':');
    return colon != std::string::npos && colon != 0 && colon + 1 != text.size();
}

Item CustomItem(const std::string& text)
{
    const auto colon = text.find(':');
    return {true, text.substr(0, colon), std::nullopt, text.substr(colon + 1)};
}

Item OptionItem(const std::string& text)
{
    const auto equals = text.find('=');
    Item item;
    item.code = text.substr(0, equals);
    if (equals != std::string::npos)
        item.value = text.substr(equals + 1);
    return item;
}

// Options and codes interleave on the command line, and the sheet keeps that
// order, so the items are taken in the order the parser met them.
std::vector<Item> ItemsInOrder(const CLI::App& command, const CLI::Option* custom, const CLI::Option* code,
                               const SheetArgs& sheet)
{
    std::vector<Item> items;
    std::size_t nextCustom = 0, nextCode = 0;
    for (const CLI::Option* option : command.parse_order()) {
        if (option == custom)
            items.push_back(CustomItem(sheet.customs.at(nextCustom++)));
        else if (option == code)
            items.push_back(OptionItem(sheet.codes.at(nextCode++)));
    }
    return items;
}

// Adds every item through the same path a double-click or the ADD button
// takes, the profile's settings first; an item refused is a wrong argument.
void AddItems(const SheetArgs& sheet, CQuillonDoc& doc, const CatalogueTree& tree)
{
    OptionEntries options(doc, tree);
    if (!sheet.profile.empty()) {
        const ProfileRead profile = ReadProfile(sheet.profile, doc.catalogue.treeNodes);
        if (!profile.error.empty())
            throw CLI::ValidationError(profile.error);
        for (const ProfileSetting& setting : profile.settings)
            if (const std::string error = options.Add(setting.code, setting.value); !error.empty())
                throw CLI::ValidationError(sheet.profile + ":" + std::to_string(setting.line) + ": " + error);
    }
    for (const Item& item : sheet.items) {
        if (item.custom) {
            if (!doc.AddEntry(item.code, item.description))  // the document has said why
                throw CLI::ValidationError(item.code, "could not be added");
            // The window keeps such an entry without bars, for a converted
            // sheet; a sheet of Code 128 symbols would print a code no
            // scanner can read (and a line of text as long as the code).
            if (sheet.convert.empty() && doc.entries.back().symbolNote == kTooLongNote)
                throw CLI::ValidationError("--custom", "a code of " + std::to_string(item.code.size()) +
                                                           " characters is more than a Code 128 symbol holds (" +
                                                           kCode128Capacity + ")");
            continue;
        }
        if (const std::string error = options.Add(item.code, item.value); !error.empty())
            throw CLI::ValidationError(item.code, error);
    }
}

ExitStatus WriteSheet(const SheetArgs& sheet)
{
    if (!OutputAccepted(sheet.output))
        return ExitStatus::BadInput;
    if (sheet.items.empty() && sheet.profile.empty())
        throw CLI::ValidationError("no option codes, no --custom entries and no --profile given");
    SheetPrompt prompt;
    CQuillonDoc doc;
    doc.SetPrompt(&prompt);
    CatalogueTree tree;
    const bool needsCatalogue = !sheet.profile.empty() || std::any_of(sheet.items.begin(), sheet.items.end(),
                                                                      [](const Item& item) { return !item.custom; });
    if (needsCatalogue) {
        const std::string catalogue = sheet.catalogue.empty() ? LocateCatalogue() : sheet.catalogue;
        CXmlReader reader;
        StderrPrompt catalogueMessages(catalogue);
        if (CatalogueLoader(reader, doc.catalogue, tree, catalogueMessages).LoadCatalogue(catalogue) != 0) {
            Complain("cannot load the catalogue " + catalogue);
            return ExitStatus::BadInput;
        }
    }
    AddItems(sheet, doc, tree);
    if (!sheet.convert.empty()) {
        doc.ConversionCommand(sheet.convert == "qr");
        // Without its symbol the sheet would print only the captions.
        if (!doc.ConversionSymbolMade()) {
            const std::string symbol = sheet.convert == "qr" ? "QR Code" : "PDF417";
            throw CLI::ValidationError("--convert", "the " + std::to_string(doc.entries.size()) +
                                                        " entries are more than one " + symbol +
                                                        " symbol holds; convert fewer entries");
        }
    }

    // Drawing needs a Qt application; no display is used.  Qt's own
    // warnings (no XDG_RUNTIME_DIR for root, say) say nothing about the
    // sheet: every failure of the sheet is told below in the tool's words.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    int argc = 1;
    char name[] = "quillon-cli";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);

    ViewOptionValues options;
    options.invertColours = sheet.invert;
    SheetWriter writer(doc, options);
    writer.FitToContent();
    // Drawn in memory and written whole, so that a failed write leaves no
    // half a sheet behind, and the name stays the bytes given.
    QBuffer drawn;
    drawn.open(QIODevice::WriteOnly);
    const bool pdf = sheet.output == "-" ? sheet.format == "pdf" : EndsWith(sheet.output, ".pdf");
    if (pdf && sheet.dpi != 0)
        throw CLI::ValidationError("--dpi", "is for a PNG; a PDF is drawn at " +
                                                std::to_string(SheetWriter::kPdfResolution) + " dpi");
    const int dpi = sheet.dpi == 0 ? SheetWriter::kPaneResolution : sheet.dpi;
    const int pages = pdf ? writer.WritePdf(drawn) : (writer.WritePng(drawn, dpi) ? 1 : -1);
    if (pages < 0) {
        Complain(OutputName(sheet.output) + ": the sheet could not be drawn");
        return ExitStatus::DeviceOrOutcome;
    }
    if (Interrupted()) {
        Complain("interrupted; " + OutputName(sheet.output) + " not written");
        return ExitStatus::Interrupted;
    }
    const QByteArray& bytes = drawn.data();
    if (const std::string error = WriteOutput(sheet.output, std::string_view(bytes.constData(), bytes.size()));
        !error.empty()) {
        Complain(OutputName(sheet.output) + ": " + error);
        return ExitStatus::DeviceOrOutcome;
    }
    // With -o - the sheet is standard output; the summary goes to standard error.
    const std::size_t entries = doc.entries.size();
    std::string summary =
        OutputName(sheet.output) + ": " + std::to_string(entries) + (entries == 1 ? " entry" : " entries");
    if (pdf)
        summary += ", " + std::to_string(pages) + (pages == 1 ? " page" : " pages");
    std::fprintf(sheet.output == "-" ? stderr : stdout, "%s\n", summary.c_str());
    return ExitStatus::Done;
}

}  // namespace

Verb AddSheetVerb(CLI::App& app)
{
    CLI::App* command = app.add_subcommand("sheet", "Write a sheet of configuration barcodes as PDF or PNG.");
    command->footer("One entry per option CODE of the catalogue or per --custom entry, in the order given.  "
                    "A PDF holds the printed pages with their footers, a PNG the document pane.\n"
                    "VALUE answers the option's parameter dialog: add-text TEXT or hex:BYTES; "
                    "M1 block A|B:SECTOR:BLOCK:KEY; output order any or a symbology name; others the text "
                    "of the entry field.");
    auto sheet = std::make_shared<SheetArgs>();
    command->add_option("-o,--output", sheet->output, "the sheet to write")
        ->type_name("OUT.pdf|OUT.png|-")
        ->required()
        ->check(Check(
            [](const std::string& file) { return file == "-" || EndsWith(file, ".pdf") || EndsWith(file, ".png"); },
            "must end in .pdf or .png, or be - for standard output"));
    command->add_option("--format", sheet->format, "what -o - writes (default pdf)")
        ->type_name("pdf|png")
        ->check(Check([](const std::string& kind) { return kind == "pdf" || kind == "png"; }, "takes pdf or png"));
    AddCatalogueOption(*command, sheet->catalogue);
    command->add_option("--convert", sheet->convert, "one QR Code or PDF417 symbol for the whole sheet")
        ->type_name("qr|pdf417")
        ->check(Check([](const std::string& kind) { return kind == "qr" || kind == "pdf417"; }, "takes qr or pdf417"));
    command->add_option("--profile", sheet->profile, "a saved profile whose settings come first")->type_name("FILE");
    command->add_flag("--invert", sheet->invert, "white bars on black");
    command->add_option("--dpi", sheet->dpi, "a PNG's resolution (default 96: each module one pixel)")
        ->type_name("N")
        ->check(WholeNumberIn(SheetWriter::kPaneResolution, kMaxDpi, "dpi"));
    const CLI::Option* custom =
        command->add_option("--custom", sheet->customs, "an entry of the ADD button: its code and description")
            ->type_name("CODE:DESCRIPTION")
            ->allow_extra_args(false)  // one value each time, so codes may follow
            ->check(Check(IsCustomEntry, "takes CODE:DESCRIPTION, both non-empty"));
    const CLI::Option* code =
        command->add_option("CODE", sheet->codes, "an option code of the catalogue, with its dialog's value")
            ->type_name("CODE[=VALUE]")
            ->check(Check([](const std::string& text) { return !text.empty() && text[0] != '='; },
                          "the option code is empty"));
    return {command, [command, custom, code, sheet] {
                sheet->items = ItemsInOrder(*command, custom, code, *sheet);
                return WriteSheet(*sheet);
            }};
}

}  // namespace quillon::cli
