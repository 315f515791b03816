#pragma once
#include "dialogs/MbcSpStrRules.h"
#include "dialogs/ParameterDialogBase.h"

class QLineEdit;

namespace quillon {

// The separator put between codes sent together, at most eight characters.
class CMbcspstrDlg : public ParameterDialogBase {
    Q_OBJECT
public:
    CMbcspstrDlg(IPrompt& prompt, QWidget* parent);

    void SetItemText(const std::string& itemText) override { rules_.SetItemText(itemText); }
    void PrepareShowing() override;

protected:
    DialogOutcome Evaluate() override;
    void EmptyField() override;

private:
    MbcSpStrRules rules_;
    QLineEdit* field_;
};

}  // namespace quillon
