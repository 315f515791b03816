#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

// Handle of an item of the settings tree (see CatalogueTree); 0 is "no item".
using TreeItemId = std::uint32_t;
inline constexpr TreeItemId kNoTreeItem = 0;

// One group (level 1), setting (level 2) or option (level 3) of the catalogue.
// Text is UTF-8.
struct TreeNodeInfo {
    std::string groupName;
    std::string name;
    std::string info;
    std::string code;
    std::int32_t level = 0;
    std::string cmdType;
    std::string pidFid;
    TreeItemId treeItem = kNoTreeItem;
};

// One command entry of a command section (connect, version, image, data).
struct CmdNodeInfo {
    std::string name;
    std::string code;
    std::string info;
    std::int32_t nodeIdFlag = 0;
};

// The five lists the catalogue fills; the document owns them.
struct CatalogueLists {
    std::vector<TreeNodeInfo> treeNodes;
    std::vector<CmdNodeInfo> transDataCmds;
    std::vector<CmdNodeInfo> transPicCmds;
    std::vector<CmdNodeInfo> readCmds;
    std::vector<CmdNodeInfo> connectReadCmds;

    void Clear()
    {
        treeNodes.clear();
        transDataCmds.clear();
        transPicCmds.clear();
        readCmds.clear();
        connectReadCmds.clear();
    }
};

}  // namespace quillon
