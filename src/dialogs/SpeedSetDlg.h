#pragma once
#include "dialogs/NumberEntryDialog.h"
#include "dialogs/WordEntry.h"

namespace quillon {

// Shutter exposure value, pre-filled from the item's current value.
class CSpeedSetDlg : public NumberEntryDialog {
    Q_OBJECT
public:
    CSpeedSetDlg(IPrompt& prompt, QWidget* parent);

    void SetItemText(const std::string& itemText) override { entry_.SetItemText(itemText); }
    void PrepareShowing() override { SetField(entry_.OpeningField()); }

protected:
    DialogOutcome Evaluate() override { return entry_.Accept(FieldText()); }

private:
    WordEntry entry_;
};

}  // namespace quillon
