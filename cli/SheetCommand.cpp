#include "catalogue/CatalogueLoader.h"
#include "catalogue/CatalogueTree.h"
#include "catalogue/SelectionApplier.h"
#include "catalogue/XmlReader.h"
#include "cli/Commands.h"
#include "cli/DialogInputs.h"
#include "cli/StderrPrompt.h"
#include "document/QuillonDoc.h"
#include "views/SheetWriter.h"
#include "views/ViewOptions.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace quillon::cli {

namespace {

constexpr const char* kDefaultCatalogue = "./config/all.xml";

constexpr const char* kUsage =
    "usage: quillon-cli sheet -o OUT.pdf|OUT.png [--catalogue FILE] [--convert qr|pdf417] [--invert]\n"
    "                         [--custom CODE:DESCRIPTION]... [CODE[=VALUE]]...\n";

// One document entry as asked for: a catalogue option or a custom code.
struct Item {
    bool custom = false;
    std::string code;
    std::optional<std::string> value;  // option: the dialog input
    std::string description;           // custom: its caption
};

struct SheetArgs {
    std::string output;
    std::string catalogue;
    std::optional<bool> convertToQr;
    bool invert = false;
    std::vector<Item> items;
};

// The operator asked for every item on the command line, repeats included.
class SheetPrompt : public StderrPrompt {
public:
    bool AskOkCancel(const std::string& text) override
    {
        std::fprintf(stderr, "%s (added again)\n", text.c_str());
        return true;
    }
};

class NoDevice : public ISettingSender {
public:
    void SendSettingFrame(int, const ValueTriple&) override {}
};

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::optional<std::string> ParseArgs(const Args& args, SheetArgs& out)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool takesValue = arg == "-o" || arg == "--catalogue" || arg == "--convert" || arg == "--custom";
        if (takesValue && i + 1 == args.size())
            return arg + " needs a value";
        if (arg == "-o") {
            out.output = args[++i];
        } else if (arg == "--catalogue") {
            out.catalogue = args[++i];
        } else if (arg == "--convert") {
            const std::string& kind = args[++i];
            if (kind != "qr" && kind != "pdf417")
                return "--convert takes qr or pdf417";
            out.convertToQr = kind == "qr";
        } else if (arg == "--invert") {
            out.invert = true;
        } else if (arg == "--custom") {
            const std::string& custom = args[++i];
            const auto colon = custom.find(':');
            if (colon == std::string::npos || colon == 0 || colon + 1 == custom.size())
                return "--custom takes CODE:DESCRIPTION, both non-empty";
            out.items.push_back({true, custom.substr(0, colon), std::nullopt, custom.substr(colon + 1)});
        } else if (!arg.empty() && arg[0] == '-') {
            return "unknown option " + arg;
        } else {
            const auto equals = arg.find('=');
            Item item;
            item.code = arg.substr(0, equals);
            if (equals != std::string::npos)
                item.value = arg.substr(equals + 1);
            if (item.code.empty())
                return "empty option code in '" + arg + "'";
            out.items.push_back(std::move(item));
        }
    }
    if (out.output.empty())
        return "-o OUT.pdf or -o OUT.png is required";
    if (!EndsWith(out.output, ".pdf") && !EndsWith(out.output, ".png"))
        return "the output must end in .pdf or .png";
    if (out.items.empty())
        return "no option codes and no --custom entries given";
    return std::nullopt;
}

const TreeNodeInfo* FindOption(const std::vector<TreeNodeInfo>& nodes, const std::string& code)
{
    for (const TreeNodeInfo& node : nodes)
        if (node.level == 3 && node.code == code)
            return &node;
    return nullptr;
}

// Adds every item through the same path a double-click or the ADD button
// takes.  0, or 2 after telling why an item was refused.
int AddItems(const SheetArgs& sheet, CQuillonDoc& doc, const CatalogueTree& tree)
{
    DialogInputs inputs;
    NoDevice device;
    SelectionApplier applier(inputs, doc, device, [] { return std::int64_t{0}; });
    for (const Item& item : sheet.items) {
        if (item.custom) {
            if (!doc.AddEntry(item.code, item.description))
                return 2;  // the document has said why
            continue;
        }
        const TreeNodeInfo* option = FindOption(doc.catalogue.treeNodes, item.code);
        if (option == nullptr) {
            std::fprintf(stderr, "quillon-cli sheet: no option with code %s in the catalogue\n", item.code.c_str());
            return 2;
        }
        inputs.SetValue(item.value);
        int replyRoute = -1;
        const ApplyResult result =
            applier.Apply(doc.catalogue.treeNodes, tree, option->treeItem, ApplyRequest{true, false}, replyRoute);
        if (!inputs.Error().empty()) {
            std::fprintf(stderr, "quillon-cli sheet: %s: %s\n", item.code.c_str(), inputs.Error().c_str());
            return 2;
        }
        if (item.value && !inputs.DialogAsked()) {
            std::fprintf(stderr, "quillon-cli sheet: %s takes no value\n", item.code.c_str());
            return 2;
        }
        if (!result.documentChanged) {
            std::fprintf(stderr, "quillon-cli sheet: %s could not be added\n", item.code.c_str());
            return 2;
        }
    }
    return 0;
}

}  // namespace

int RunSheet(const Args& args)
{
    SheetArgs sheet;
    if (const auto error = ParseArgs(args, sheet)) {
        std::fprintf(stderr, "quillon-cli sheet: %s\n%s", error->c_str(), kUsage);
        return 2;
    }

    SheetPrompt prompt;
    CQuillonDoc doc;
    doc.SetPrompt(&prompt);
    CatalogueTree tree;
    const bool needsCatalogue = std::any_of(sheet.items.begin(), sheet.items.end(),
                                            [](const Item& item) { return !item.custom; });
    if (needsCatalogue) {
        const std::string path = sheet.catalogue.empty() ? std::string(kDefaultCatalogue) : sheet.catalogue;
        CXmlReader reader;
        if (CatalogueLoader(reader, doc.catalogue, tree, prompt).LoadCatalogue(path) != 0) {
            std::fprintf(stderr, "quillon-cli sheet: cannot load the catalogue %s\n", path.c_str());
            return 1;
        }
    }
    if (const int status = AddItems(sheet, doc, tree); status != 0)
        return status;
    if (sheet.convertToQr)
        doc.ConversionCommand(*sheet.convertToQr);

    // Drawing needs a Qt application; no display is used.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int argc = 1;
    char name[] = "quillon-cli";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);

    ViewOptionValues options;
    options.invertColours = sheet.invert;
    SheetWriter writer(doc, options);
    writer.FitToContent();
    const QString output = QString::fromStdString(sheet.output);
    if (EndsWith(sheet.output, ".pdf")) {
        const int pages = writer.WritePdf(output);
        if (pages < 0) {
            std::fprintf(stderr, "quillon-cli sheet: cannot write %s\n", sheet.output.c_str());
            return 1;
        }
        std::printf("%s: %zu entries, %d pages\n", sheet.output.c_str(), doc.entries.size(), pages);
    } else {
        if (!writer.WritePng(output)) {
            std::fprintf(stderr, "quillon-cli sheet: cannot write %s\n", sheet.output.c_str());
            return 1;
        }
        std::printf("%s: %zu entries\n", sheet.output.c_str(), doc.entries.size());
    }
    return 0;
}

}  // namespace quillon::cli
