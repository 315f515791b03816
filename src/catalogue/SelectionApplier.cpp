#include "catalogue/SelectionApplier.h"

#include "catalogue/SelectionDispatch.h"

namespace quillon {

namespace {
bool InRange(const std::vector<TreeNodeInfo>& nodes, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < nodes.size();
}
}  // namespace

SelectionApplier::SelectionApplier(IParameterDialogRunner& dialogs, IConfigurationTarget& document,
                                   ISettingSender& device, CustomCodeGesture::Clock clock)
    : dialogs_(dialogs),
      document_(document),
      device_(device),
      gesture_(std::move(clock))
{
}

ApplyResult SelectionApplier::Apply(const std::vector<TreeNodeInfo>& nodes, const CatalogueTree& tree,
                                    TreeItemId selected, const ApplyRequest& request)
{
    ApplyResult result;
    if (!tree.IsValid(selected))
        return result;
    const TreeItem& item = tree.Item(selected);
    const int index = item.data;
    if (!InRange(nodes, index))
        return result;
    const TreeNodeInfo& record = nodes[static_cast<std::size_t>(index)];
    if (record.level == 2 && record.pidFid == kCustomCodeSetting) {
        result.revealCustomCode = gesture_.OnDoubleClick();
        return result;
    }
    if (record.level != 3)
        return result;

    const int parentIndex = tree.IsValid(item.parent) ? tree.Item(item.parent).data : 0;

    AppliedValue applied;
    const DialogChoice choice = ChooseParameterDialog(record.code);
    if (choice.dialog != ParameterDialog::None) {
        DialogRequest dialogRequest{choice.mode, {}, std::nullopt};
        if (choice.passOptionText) {
            dialogRequest.optionText = item.text;
            dialogRequest.deviceValue = item.deviceValue;
        }
        const auto output = dialogs_.Run(choice.dialog, dialogRequest);
        if (!output)
            return result;
        applied = BuildAppliedValue(choice.dialog, *output);
    }

    if (request.addToDocument) {
        document_.AddCommandEntry(index, parentIndex, applied.value, applied.captionText);
        result.documentChanged = true;
    }
    if (request.sendToDevice) {
        device_.SendSettingFrame(index, applied.value);
        result.sent = true;
    }
    return result;
}

std::string GetOptionInfo(const std::vector<TreeNodeInfo>& nodes, int index)
{
    if (!InRange(nodes, index))
        return {};
    const TreeNodeInfo& record = nodes[static_cast<std::size_t>(index)];
    return record.level == 3 ? record.info : std::string();
}

}  // namespace quillon
