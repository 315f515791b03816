#include "profile/OptionEntries.h"

#include "catalogue/OptionAnswer.h"
#include "document/QuillonDoc.h"

namespace quillon {

OptionEntries::OptionEntries(CQuillonDoc& doc, const CatalogueTree& tree) : doc_(doc), tree_(tree)
{
}

std::string OptionEntries::Add(const std::string& code, const std::optional<std::string>& value)
{
    const OptionAnswer answer = AnswerOption(doc_.catalogue.treeNodes, code, value);
    if (!answer)
        return answer.reason;
    // The entry names the setting above the option, as the tree's parent item.
    const TreeItemId item = answer.option->treeItem;
    if (!tree_.IsValid(item))
        return "could not be added";
    const TreeItemId parent = tree_.Item(item).parent;
    const int parentIndex = tree_.IsValid(parent) ? tree_.Item(parent).data : 0;
    doc_.AddCommandEntry(answer.recordIndex, parentIndex, answer.applied.value, answer.applied.captionText);
    return {};
}

}  // namespace quillon
