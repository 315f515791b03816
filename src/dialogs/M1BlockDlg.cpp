#include "dialogs/M1BlockDlg.h"

#include "base/QtText.h"

#include "dialogs/DialogTexts.h"
#include "dialogs/M1BlockRules.h"

#include <QBoxLayout>
#include <QFormLayout>
#include <QLineEdit>
#include <QRadioButton>

namespace quillon {

CM1BlockDlg::CM1BlockDlg(IPrompt& prompt, QWidget* parent)
    : ParameterDialogBase(prompt, parent),
      sector_(new QLineEdit(this)),
      block_(new QLineEdit(this)),
      keyA_(new QRadioButton(Tr(dialog_texts::kM1KeyA), this)),
      keyB_(new QRadioButton(Tr(dialog_texts::kM1KeyB), this)),
      key_(new QLineEdit(this))
{
    setWindowTitle(Tr(dialog_texts::kM1Title));
    sector_->setObjectName("sector");
    block_->setObjectName("block");
    keyA_->setObjectName("keyA");
    keyB_->setObjectName("keyB");
    key_->setObjectName("key");

    auto* keys = new QHBoxLayout;
    keys->addWidget(keyA_);
    keys->addWidget(keyB_);
    auto* form = new QFormLayout;
    form->addRow(Tr(dialog_texts::kM1Sector), sector_);
    form->addRow(Tr(dialog_texts::kM1Block), block_);
    form->addRow(keys);
    form->addRow(Tr(dialog_texts::kM1Key), key_);
    Content()->addLayout(form);
    PrepareShowing();
}

void CM1BlockDlg::PrepareShowing()
{
    keyA_->setChecked(true);
}

DialogOutcome CM1BlockDlg::Evaluate()
{
    M1BlockRules::Fields fields;
    fields.keyB = keyB_->isChecked();
    fields.sector = sector_->text().toStdString();
    fields.block = block_->text().toStdString();
    fields.key = key_->text().toStdString();
    return M1BlockRules::Accept(fields);
}

}  // namespace quillon
