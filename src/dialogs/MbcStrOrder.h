#pragma once
#include "dialogs/MbcStrOrderRules.h"
#include "dialogs/ParameterDialogBase.h"

class QComboBox;
class QRadioButton;

namespace quillon {

// Order of codes sent together: any order, or a chosen symbology first.
class CMbcStrOrder : public ParameterDialogBase {
    Q_OBJECT
public:
    CMbcStrOrder(IPrompt& prompt, QWidget* parent);

    void SetItemText(const std::string& itemText) override { rules_.SetItemText(itemText); }
    void PrepareShowing() override;

protected:
    // The list when a symbology is to be chosen, else the chosen mode.
    QWidget* FirstEntry() const override;
    DialogOutcome Evaluate() override;

private:
    MbcStrOrderRules rules_;
    QRadioButton* anyOrder_;
    QRadioButton* specifiedOrder_;
    QComboBox* names_;
};

}  // namespace quillon
