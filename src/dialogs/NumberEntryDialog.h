#pragma once
#include "dialogs/ParameterDialogBase.h"

class QLabel;
class QLineEdit;

namespace quillon {

// A prompt, one digits-only entry field and an optional unit after it: the
// common face of the interval, time-out and exposure dialogs.
class NumberEntryDialog : public ParameterDialogBase {
    Q_OBJECT
public:
    NumberEntryDialog(IPrompt& prompt, QWidget* parent, bool millisecondUnit, int maxLength = 0);

protected:
    void SetCaptions(const char* title, const char* promptText);
    void SetField(const std::string& text);
    std::string FieldText() const;
    void EmptyField() override;

private:
    QLabel* prompt_;
    QLineEdit* field_;
};

}  // namespace quillon
