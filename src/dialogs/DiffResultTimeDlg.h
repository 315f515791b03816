#pragma once
#include "dialogs/DiffResultTimeRules.h"
#include "dialogs/NumberEntryDialog.h"

namespace quillon {

// Interval, Modbus register and station-address entry; the mode picks which.
// The field starts empty at every showing.
class CDiffResultTimeDlg : public NumberEntryDialog {
    Q_OBJECT
public:
    CDiffResultTimeDlg(IPrompt& prompt, QWidget* parent);

    void SetMode(int mode) override { rules_.SetMode(mode); }
    void PrepareShowing() override;

protected:
    DialogOutcome Evaluate() override { return rules_.Accept(FieldText()); }

private:
    DiffResultTimeRules rules_;
};

}  // namespace quillon
