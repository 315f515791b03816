#include "dialogs/AddStrDlg.h"

#include "base/QtText.h"

#include "dialogs/DialogTexts.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

namespace quillon {

CAddStrDlg::CAddStrDlg(IPrompt& prompt, QWidget* parent)
    : ParameterDialogBase(prompt, parent),
      text_(new QLineEdit(this)),
      tab_(new QCheckBox(Tr(dialog_texts::kAddStrTab), this)),
      lineBreak_(new QCheckBox(Tr(dialog_texts::kAddStrLineBreak), this)),
      hex_(new QCheckBox(Tr(dialog_texts::kAddStrHex), this))
{
    setWindowTitle(Tr(dialog_texts::kAddStrTitle));
    text_->setObjectName("text");
    tab_->setObjectName("tab");
    lineBreak_->setObjectName("lineBreak");
    hex_->setObjectName("hex");

    auto* boxes = new QHBoxLayout;
    boxes->addWidget(tab_);
    boxes->addWidget(lineBreak_);
    boxes->addWidget(hex_);
    Content()->addWidget(new QLabel(Tr(dialog_texts::kAddStrPrompt), this));
    Content()->addWidget(text_);
    Content()->addLayout(boxes);
    PrepareShowing();
}

void CAddStrDlg::PrepareShowing()
{
    const AddStrRules::Fields fields = rules_.Opening();
    text_->setText(QString::fromStdString(fields.text));
    tab_->setChecked(fields.tab);
    lineBreak_->setChecked(fields.lineBreak);
    hex_->setChecked(fields.hex);
}

DialogOutcome CAddStrDlg::Evaluate()
{
    AddStrRules::Fields fields;
    fields.text = text_->text().toStdString();
    fields.tab = tab_->isChecked();
    fields.lineBreak = lineBreak_->isChecked();
    fields.hex = hex_->isChecked();
    return rules_.Accept(fields);
}

void CAddStrDlg::EmptyField()
{
    text_->clear();
}

}  // namespace quillon
