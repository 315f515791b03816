#include "dialogs/ParameterDialogBase.h"

#include "app/Prompt.h"
#include "dialogs/DialogTexts.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillon {

ParameterDialogBase::ParameterDialogBase(IPrompt& prompt, QWidget* parent)
    : QDialog(parent), prompt_(prompt), content_(new QVBoxLayout)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(QString::fromUtf8(dialog_texts::kOk));
    ok->setObjectName("ok");
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setText(QString::fromUtf8(dialog_texts::kCancel));
    cancel->setObjectName("cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &ParameterDialogBase::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ParameterDialogBase::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(content_);
    layout->addWidget(buttons);
}

void ParameterDialogBase::SetMode(int) {}

void ParameterDialogBase::SetItemText(const std::string&) {}

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
