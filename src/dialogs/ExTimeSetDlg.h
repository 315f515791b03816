#pragma once
#include "dialogs/NumberEntryDialog.h"
#include "dialogs/WordEntry.h"

namespace quillon {

// Trigger time-out (mode 0), command-decode time-out (1) or sleep delay (2),
// in milliseconds, pre-filled from the item's current value.
class CExTimeSetDlg : public NumberEntryDialog {
    Q_OBJECT
public:
    CExTimeSetDlg(IPrompt& prompt, QWidget* parent);

    void SetMode(int mode) override { mode_ = mode; }
    void SetItemText(const std::string& itemText) override { entry_.SetItemText(itemText); }
    void PrepareShowing() override;

protected:
    DialogOutcome Evaluate() override { return entry_.Accept(FieldText()); }

private:
    int mode_ = 0;
    WordEntry entry_;
};

}  // namespace quillon
