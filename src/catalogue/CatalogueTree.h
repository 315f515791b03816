#pragma once
#include "catalogue/CatalogueRecords.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

// Image indices of the tree's image list, by role.
enum TreeImage : int {
    kImageGroupSelected = 0,
    kImageGroup = 1,
    kImageOption = 2,
    kImageOptionCurrent = 3,  // the option the device reported as current
    kImageSetting = 4,        // setting or sub-group
    kImageSettingSelected = 5,
};

struct TreeItem {
    std::string text;
    int image = 0;
    int selectedImage = 0;
    int data = 0;  // index into CatalogueLists::treeNodes (0 for sub-groups)
    // The value bytes the device reported for this option, as they came.
    std::optional<std::string> deviceValue;
    TreeItemId parent = kNoTreeItem;
    std::vector<TreeItemId> children;
};

// The settings tree as data: what the window's tree control shows, kept in
// the core so that loading, marking and the command-line tool share it.
// Observers are told of every change so a view can mirror it.
class CatalogueTree {
public:
    struct Observer {
        virtual ~Observer() = default;
        virtual void OnTreeCleared() = 0;
        virtual void OnItemInserted(TreeItemId id) = 0;
        virtual void OnItemChanged(TreeItemId id) = 0;
    };

    void SetObserver(Observer* observer) { observer_ = observer; }

    void DeleteAllItems();
    // Appends an item as the last child of parent (kNoTreeItem: a root item).
    TreeItemId InsertItem(const std::string& text, int image, int selectedImage, TreeItemId parent);
    void SetItemData(TreeItemId id, int data);
    void SetItemText(TreeItemId id, const std::string& text);
    // Text and images in one change, as the device-value marks set them.
    void SetItemLook(TreeItemId id, const std::string& text, int image, int selectedImage,
                     std::optional<std::string> deviceValue = std::nullopt);

    bool IsValid(TreeItemId id) const { return id != kNoTreeItem && id <= items_.size(); }
    const TreeItem& Item(TreeItemId id) const { return items_.at(id - 1); }
    const std::vector<TreeItemId>& Roots() const { return roots_; }
    std::size_t Size() const { return items_.size(); }
    // Counts the times the tree was emptied, so that what indexes its items
    // can tell a reload.
    unsigned Generation() const { return generation_; }

    int itemHeight = 20;

private:
    TreeItem& Mutable(TreeItemId id) { return items_.at(id - 1); }

    std::vector<TreeItem> items_;
    std::vector<TreeItemId> roots_;
    Observer* observer_ = nullptr;
    unsigned generation_ = 0;
};

}  // namespace quillon
