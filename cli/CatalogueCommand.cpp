#include "app/ConfigLocation.h"
#include "catalogue/CatalogueLoader.h"
#include "catalogue/CatalogueTree.h"
#include "catalogue/XmlReader.h"
#include "cli/PortOptions.h"
#include "cli/StderrPrompt.h"
#include "cli/Verbs.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace quillon::cli {

namespace {

// Keys keep the order of the records' fields, so the output reads like them.
using Json = nlohmann::ordered_json;

Json TreeItems(const CatalogueTree& tree, const std::vector<TreeItemId>& ids)
{
    Json items = Json::array();
    for (const TreeItemId id : ids) {
        const TreeItem& item = tree.Item(id);
        items.push_back({{"text", item.text},
                         {"image", item.image},
                         {"selectedImage", item.selectedImage},
                         {"data", item.data},
                         {"children", TreeItems(tree, item.children)}});
    }
    return items;
}

Json TreeNodes(const std::vector<TreeNodeInfo>& nodes)
{
    Json out = Json::array();
    for (const TreeNodeInfo& node : nodes)
        out.push_back({{"groupName", node.groupName},
                       {"name", node.name},
                       {"info", node.info},
                       {"code", node.code},
                       {"level", node.level},
                       {"cmdType", node.cmdType},
                       {"pidFid", node.pidFid}});
    return out;
}

Json Commands(const std::vector<CmdNodeInfo>& commands)
{
    Json out = Json::array();
    for (const CmdNodeInfo& command : commands)
        out.push_back({{"name", command.name},
                       {"code", command.code},
                       {"info", command.info},
                       {"nodeIdFlag", command.nodeIdFlag}});
    return out;
}

ExitStatus PrintCatalogue(const std::string& file)
{
    const std::string path = file.empty() ? LocateCatalogue() : file;
    CXmlReader reader;
    CatalogueLists lists;
    CatalogueTree tree;
    StderrPrompt prompt(path);
    const int status = CatalogueLoader(reader, lists, tree, prompt).LoadCatalogue(path);

    const Json out = {{"status", status},
                      {"readerResult", reader.GetResultText()},
                      {"tree", TreeItems(tree, tree.Roots())},
                      {"treeNodes", TreeNodes(lists.treeNodes)},
                      {"transDataCmds", Commands(lists.transDataCmds)},
                      {"transPicCmds", Commands(lists.transPicCmds)},
                      {"readCmds", Commands(lists.readCmds)},
                      {"connectReadCmds", Commands(lists.connectReadCmds)}};
    // A catalogue text that is not valid UTF-8 is shown with U+FFFD rather
    // than stopping the whole listing.
    const std::string text = out.dump(2, ' ', false, Json::error_handler_t::replace) + '\n';
    std::fwrite(text.data(), 1, text.size(), stdout);
    return status == 0 ? ExitStatus::Done : ExitStatus::BadInput;
}

}  // namespace

Verb AddCatalogueVerb(CLI::App& app)
{
    CLI::App* command = app.add_subcommand("catalogue", "Print a catalogue's tree and lists as JSON.");
    command->footer(
        "The catalogue is loaded exactly as the window loads it; its messages go to standard error, after the "
        "file's name; a catalogue that fails or stops early is status 2.");
    auto file = std::make_shared<std::string>();
    command
        ->add_option("FILE", *file, "the catalogue (default: $QUILLON_CATALOGUE, else the one the window would load)")
        ->type_name("")
        ->envname(kCatalogueVariable);
    return {command, [file] { return PrintCatalogue(*file); }};
}

}  // namespace quillon::cli
