#pragma once
#include "dialogs/DialogOutcome.h"

#include <QDialog>

#include <optional>
#include <string>

class QBoxLayout;

namespace quillon {

class IPrompt;

// The shape all parameter dialogs share: a content area over "确定" and
// "取消".  OK asks the dialog's rules; a refusal is shown through the prompt
// and the dialog stays open, an output closes it.  Cancel applies nothing.
//
// One object serves every showing: the caller sets the mode and item text
// when it has them, calls PrepareShowing() to set the fields up for this
// showing, then exec().
class ParameterDialogBase : public QDialog {
    Q_OBJECT
public:
    ParameterDialogBase(IPrompt& prompt, QWidget* parent);

    // The dialogs that have modes or take the tree item's text override these.
    virtual void SetMode(int mode);
    virtual void SetItemText(const std::string& itemText);
    // The bytes the device holds for the option (nullopt: it reported none).
    virtual void SetDeviceValue(const std::optional<std::string>& bytes);

    // Fills the controls for a new showing.
    virtual void PrepareShowing() = 0;

    // The output of the last OK that closed the dialog.
    const std::optional<DialogOutput>& Output() const { return output_; }

    void accept() override;

protected:
    // Where subclasses put their controls, above the buttons.
    QBoxLayout* Content() const { return content_; }

    // Where typing goes when the dialog opens; by default its first enabled
    // line edit.
    virtual QWidget* FirstEntry() const;
    void showEvent(QShowEvent* event) override;

    virtual DialogOutcome Evaluate() = 0;
    // Empties the field a refusal asks to empty.
    virtual void EmptyField() {}

private:
    IPrompt& prompt_;
    QBoxLayout* content_;
    std::optional<DialogOutput> output_;
};

}  // namespace quillon
