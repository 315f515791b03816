#include "app/ConfigFile.h"
#include "catalogue/CatalogueLoader.h"
#include "catalogue/CatalogueTree.h"
#include "catalogue/XmlReader.h"
#include "cli/Commands.h"
#include "cli/Json.h"
#include "cli/StderrPrompt.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace quillon::cli {

namespace {

std::string Indent(int depth)
{
    return std::string(static_cast<std::size_t>(depth) * 2, ' ');
}

void WriteTreeItems(std::string& out, const CatalogueTree& tree, const std::vector<TreeItemId>& ids, int depth)
{
    out += '[';
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const TreeItem& item = tree.Item(ids[i]);
        out += i ? ",\n" : "\n";
        out += Indent(depth) + "{\"text\": " + JsonString(item.text)
               + ", \"image\": " + std::to_string(item.image)
               + ", \"selectedImage\": " + std::to_string(item.selectedImage)
               + ", \"data\": " + std::to_string(item.data) + ", \"children\": ";
        WriteTreeItems(out, tree, item.children, depth + 1);
        out += '}';
    }
    if (!ids.empty())
        out += '\n' + Indent(depth - 1);
    out += ']';
}

void WriteTreeNodes(std::string& out, const std::vector<TreeNodeInfo>& nodes)
{
    out += '[';
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const TreeNodeInfo& node = nodes[i];
        out += i ? ",\n    " : "\n    ";
        out += "{\"groupName\": " + JsonString(node.groupName) + ", \"name\": " + JsonString(node.name)
               + ", \"info\": " + JsonString(node.info) + ", \"code\": " + JsonString(node.code)
               + ", \"level\": " + std::to_string(node.level) + ", \"cmdType\": " + JsonString(node.cmdType)
               + ", \"pidFid\": " + JsonString(node.pidFid) + '}';
    }
    out += nodes.empty() ? "]" : "\n  ]";
}

void WriteCommands(std::string& out, const std::vector<CmdNodeInfo>& commands)
{
    out += '[';
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const CmdNodeInfo& command = commands[i];
        out += i ? ",\n    " : "\n    ";
        out += "{\"name\": " + JsonString(command.name) + ", \"code\": " + JsonString(command.code)
               + ", \"info\": " + JsonString(command.info)
               + ", \"nodeIdFlag\": " + std::to_string(command.nodeIdFlag) + '}';
    }
    out += commands.empty() ? "]" : "\n  ]";
}

}  // namespace

int RunCatalogue(const Args& args)
{
    if (args.size() > 1) {
        std::fprintf(stderr, "usage: quillon-cli catalogue [FILE]\n");
        return 2;
    }
    const std::string path = args.empty() ? CataloguePath(ReadCatalogueName()) : args.front();

    CXmlReader reader;
    CatalogueLists lists;
    CatalogueTree tree;
    StderrPrompt prompt;
    const int status = CatalogueLoader(reader, lists, tree, prompt).LoadCatalogue(path);

    std::string out = "{\n  \"status\": " + std::to_string(status)
                      + ",\n  \"readerResult\": " + JsonString(reader.GetResultText()) + ",\n  \"tree\": ";
    WriteTreeItems(out, tree, tree.Roots(), 2);
    out += ",\n  \"treeNodes\": ";
    WriteTreeNodes(out, lists.treeNodes);
    const std::pair<const char*, const std::vector<CmdNodeInfo>*> commandLists[] = {
        {"transDataCmds", &lists.transDataCmds},
        {"transPicCmds", &lists.transPicCmds},
        {"readCmds", &lists.readCmds},
        {"connectReadCmds", &lists.connectReadCmds},
    };
    for (const auto& [name, commands] : commandLists) {
        out += std::string(",\n  \"") + name + "\": ";
        WriteCommands(out, *commands);
    }
    out += "\n}\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    return status == 0 ? 0 : 1;
}

}  // namespace quillon::cli
