#include "catalogue/CatalogueTree.h"

namespace quillon {

void CatalogueTree::DeleteAllItems()
{
    items_.clear();
    roots_.clear();
    ++generation_;
    if (observer_)
        observer_->OnTreeCleared();
}

TreeItemId CatalogueTree::InsertItem(const std::string& text, int image, int selectedImage, TreeItemId parent)
{
    TreeItem item;
    item.text = text;
    item.image = image;
    item.selectedImage = selectedImage;
    item.parent = IsValid(parent) ? parent : kNoTreeItem;
    items_.push_back(std::move(item));
    const auto id = static_cast<TreeItemId>(items_.size());
    if (IsValid(parent))
        Mutable(parent).children.push_back(id);
    else
        roots_.push_back(id);
    if (observer_)
        observer_->OnItemInserted(id);
    return id;
}

void CatalogueTree::SetItemData(TreeItemId id, int data)
{
    Mutable(id).data = data;
    if (observer_)
        observer_->OnItemChanged(id);
}

void CatalogueTree::SetItemText(TreeItemId id, const std::string& text)
{
    Mutable(id).text = text;
    if (observer_)
        observer_->OnItemChanged(id);
}

void CatalogueTree::SetItemLook(TreeItemId id, const std::string& text, int image, int selectedImage,
                                std::optional<std::string> deviceValue)
{
    TreeItem& item = Mutable(id);
    item.text = text;
    item.deviceValue = std::move(deviceValue);
    item.image = image;
    item.selectedImage = selectedImage;
    if (observer_)
        observer_->OnItemChanged(id);
}

}  // namespace quillon
