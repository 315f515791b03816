#include "dialogs/ParameterDialogBase.h"

#include "base/QtText.h"

#include "base/Prompt.h"
#include "dialogs/DialogTexts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillon {

ParameterDialogBase::ParameterDialogBase(IPrompt& prompt, QWidget* parent)
    : QDialog(parent),
      prompt_(prompt),
      content_(new QVBoxLayout)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(Tr(dialog_texts::kOk));
    ok->setObjectName("ok");
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setText(Tr(dialog_texts::kCancel));
    cancel->setObjectName("cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &ParameterDialogBase::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ParameterDialogBase::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(content_);
    layout->addWidget(buttons);
}

QWidget* ParameterDialogBase::FirstEntry() const
{
    for (QLineEdit* field : findChildren<QLineEdit*>()) {
        if (field->isEnabled())
            return field;
    }
    return nullptr;
}

void ParameterDialogBase::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Shown again, a reused dialog is not always given the focus by the
    // window manager; the operator is about to type into it.
    activateWindow();
    // The buttons come first in the focus chain: without this the focus
    // starts on OK, so typing goes nowhere and Enter accepts the old value.
    QWidget* entry = FirstEntry();
    if (!entry)
        return;
    entry->setFocus(Qt::OtherFocusReason);
    auto* field = qobject_cast<QLineEdit*>(entry);
    if (auto* list = qobject_cast<QComboBox*>(entry))
        field = list->lineEdit();
    if (field)
        field->selectAll();
}

void ParameterDialogBase::SetMode(int)
{
}

void ParameterDialogBase::SetItemText(const std::string&)
{
}

void ParameterDialogBase::SetDeviceValue(const std::optional<std::string>&)
{
}

void ParameterDialogBase::accept()
{
    DialogOutcome outcome = Evaluate();
    if (!outcome.output) {
        if (outcome.emptyField)
            EmptyField();
        prompt_.ShowError(outcome.message);
        return;
    }
    output_ = std::move(outcome.output);
    QDialog::accept();
}

}  // namespace quillon
