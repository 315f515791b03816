#pragma once
#include "dialogs/AddStrRules.h"
#include "dialogs/ParameterDialogBase.h"

class QCheckBox;
class QLineEdit;

namespace quillon {

// The extra text message of a free-text option: characters or hex bytes,
// with an optional tab and line break after them.
class CAddStrDlg : public ParameterDialogBase {
    Q_OBJECT
public:
    CAddStrDlg(IPrompt& prompt, QWidget* parent);

    void SetItemText(const std::string& itemText) override { rules_.SetInitialText(itemText); }
    void SetDeviceValue(const std::optional<std::string>& bytes) override { rules_.SetDeviceValue(bytes); }
    void PrepareShowing() override;

protected:
    DialogOutcome Evaluate() override;
    void EmptyField() override;

private:
    AddStrRules rules_;
    QLineEdit* text_;
    QCheckBox* tab_;
    QCheckBox* lineBreak_;
    QCheckBox* hex_;
};

}  // namespace quillon
