#pragma once
#include "dialogs/CodeNumRules.h"
#include "dialogs/ParameterDialogBase.h"

class QLineEdit;

namespace quillon {

// How many codes one reading sends out: a read-only field stepped by up and
// down arrows within 2..6.
class CCodeNumDLG : public ParameterDialogBase {
    Q_OBJECT
public:
    CCodeNumDLG(IPrompt& prompt, QWidget* parent);

    void SetItemText(const std::string& itemText) override { rules_.SetItemText(itemText); }
    void PrepareShowing() override;

protected:
    DialogOutcome Evaluate() override;
    // The arrow keys step the count as the arrow buttons do.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Step(bool up);

    CodeNumRules rules_;
    QLineEdit* field_;
};

}  // namespace quillon
