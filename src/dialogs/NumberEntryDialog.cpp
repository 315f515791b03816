#include "dialogs/NumberEntryDialog.h"

#include "base/QtText.h"

#include "dialogs/DialogTexts.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace quillon {

NumberEntryDialog::NumberEntryDialog(IPrompt& prompt, QWidget* parent, bool millisecondUnit, int maxLength)
    : ParameterDialogBase(prompt, parent),
      prompt_(new QLabel(this)),
      field_(new QLineEdit(this))
{
    prompt_->setObjectName("prompt");
    field_->setObjectName("field");
    // Typing is limited to digits; a pre-filled text is shown as it came.
    field_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), field_));
    if (maxLength > 0)
        field_->setMaxLength(maxLength);

    auto* row = new QHBoxLayout;
    row->addWidget(field_, 1);
    if (millisecondUnit)
        row->addWidget(new QLabel(Tr(dialog_texts::kMilliseconds), this));
    Content()->addWidget(prompt_);
    Content()->addLayout(row);
}

void NumberEntryDialog::SetCaptions(const char* title, const char* promptText)
{
    setWindowTitle(Tr(title));
    prompt_->setText(Tr(promptText));
}

void NumberEntryDialog::SetField(const std::string& text)
{
    field_->setText(QString::fromStdString(text));
}

std::string NumberEntryDialog::FieldText() const
{
    return field_->text().toStdString();
}

void NumberEntryDialog::EmptyField()
{
    field_->clear();
}

}  // namespace quillon
