#include "profile/OptionEntries.h"

#include "catalogue/SelectionDispatch.h"
#include "document/QuillonDoc.h"

namespace quillon {

OptionEntries::OptionEntries(CQuillonDoc& doc, const CatalogueTree& tree)
    : doc_(doc), tree_(tree), applier_(inputs_, doc, device_, [] { return std::int64_t{0}; })
{
}

std::string OptionEntries::Add(const std::string& code, const std::optional<std::string>& value)
{
    const auto& nodes = doc_.catalogue.treeNodes;
    const TreeNodeInfo* option = FindOption(nodes, code);
    if (option == nullptr)
        return "no option with code " + code + " in the catalogue";
    // Checked first: the applier would add the entry before anyone noticed.
    if (value && ChooseParameterDialog(code).dialog == ParameterDialog::None)
        return "takes no value";
    inputs_.SetValue(value);
    int replyRoute = -1;
    const ApplyResult result = applier_.Apply(nodes, tree_, option->treeItem, ApplyRequest{true, false}, replyRoute);
    if (!inputs_.Error().empty())
        return inputs_.Error();
    if (!result.documentChanged)
        return "could not be added";
    return {};
}

}  // namespace quillon
