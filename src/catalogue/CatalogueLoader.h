#pragma once
#include "catalogue/CatalogueRecords.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class CatalogueTree;
class CXmlReader;
class IPrompt;

inline constexpr const char* kCatalogueErrorText = "配置文件设置错误，无法完成初始化！";

// What the settings form does on every load: the custom-code box goes out of
// sight before the file is read, and the custom-code gesture starts over once
// the file is known to be readable.  Either may be left empty.
struct CatalogueLoadHooks {
    std::function<void()> hideCustomCodeBox;
    std::function<void()> resetCustomCodeGesture;
};

// Builds the settings tree and the five catalogue lists from a catalogue file.
class CatalogueLoader {
public:
    CatalogueLoader(CXmlReader& reader, CatalogueLists& lists, CatalogueTree& tree, IPrompt& prompt,
                    CatalogueLoadHooks hooks = {});

    // 0 when every section was loaded; -1 when the file could not be read or
    // is not well formed (the operator is told; tree and lists are left as
    // they were) or when a command section is missing (loading stops there,
    // silently, keeping what was loaded before).
    int LoadCatalogue(const std::string& path);

private:
    void LoadSettings();
    void LoadGroup();
    void LoadSubGroup(TreeItemId groupItem);
    void LoadSetting(TreeItemId parent, const std::string& groupName);
    bool LoadCommandSection(std::u16string_view section, std::vector<CmdNodeInfo>& list);
    // Shows the record as a new last child of parent and appends it to
    // treeNodes; the item's data is the record's index.
    TreeItemId AppendRecord(TreeNodeInfo record, TreeItemId parent, int image, int selectedImage);

    CXmlReader& reader_;
    CatalogueLists& lists_;
    CatalogueTree& tree_;
    IPrompt& prompt_;
    CatalogueLoadHooks hooks_;
};

}  // namespace quillon
