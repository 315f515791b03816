#pragma once
#include "catalogue/CatalogueRecords.h"
#include "catalogue/CatalogueTree.h"
#include "catalogue/CustomCodeGesture.h"
#include "catalogue/SelectionTargets.h"
#include "dialogs/ParameterDialogs.h"

namespace quillon {

// The setting whose double-click counts towards the custom-code gesture.
inline constexpr const char* kCustomCodeSetting = "8265";

// What the check boxes of the tree form ask for an applied option.
struct ApplyRequest {
    bool addToDocument = false;  // "生成配置条码"
    bool sendToDevice = false;   // "修改设备参数"
};

struct ApplyResult {
    bool revealCustomCode = false;
    bool documentChanged = false;
    bool sent = false;
};

// Turns a double-clicked tree item into a configuration entry and/or a
// setting frame: finds its record, asks the matching parameter dialog for a
// value, and hands the value on.  Window-free so the whole table is testable.
class SelectionApplier {
public:
    SelectionApplier(IParameterDialogRunner& dialogs, IConfigurationTarget& document, ISettingSender& device,
                     CustomCodeGesture::Clock clock);

    ApplyResult Apply(const std::vector<TreeNodeInfo>& nodes, const CatalogueTree& tree, TreeItemId selected,
                      const ApplyRequest& request);

    CustomCodeGesture& Gesture() { return gesture_; }

private:
    IParameterDialogRunner& dialogs_;
    IConfigurationTarget& document_;
    ISettingSender& device_;
    CustomCodeGesture gesture_;
};

// The description shown for a record: an option's info, nothing for the rest.
std::string GetOptionInfo(const std::vector<TreeNodeInfo>& nodes, int index);

}  // namespace quillon
