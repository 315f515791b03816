#pragma once
#include "dialogs/ParameterDialogBase.h"

class QLineEdit;
class QRadioButton;

namespace quillon {

// Which M1 card block to read and with which key; KEY A at every showing.
class CM1BlockDlg : public ParameterDialogBase {
    Q_OBJECT
public:
    CM1BlockDlg(IPrompt& prompt, QWidget* parent);

    void PrepareShowing() override;

protected:
    DialogOutcome Evaluate() override;

private:
    QLineEdit* sector_;
    QLineEdit* block_;
    QRadioButton* keyA_;
    QRadioButton* keyB_;
    QLineEdit* key_;
};

}  // namespace quillon
