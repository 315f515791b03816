#include "dialogs/MbcspstrDlg.h"

#include "base/QtText.h"

#include "dialogs/DialogTexts.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace quillon {

namespace {
constexpr int kLimit = static_cast<int>(MbcSpStrRules::kMaxCharacters);
}

CMbcspstrDlg::CMbcspstrDlg(IPrompt& prompt, QWidget* parent)
    : ParameterDialogBase(prompt, parent),
      field_(new QLineEdit(this))
{
    setWindowTitle(Tr(dialog_texts::kMbcSpStrTitle));
    field_->setObjectName("field");
    Content()->addWidget(new QLabel(Tr(dialog_texts::kMbcSpStrPrompt), this));
    Content()->addWidget(field_);
    PrepareShowing();
}

void CMbcspstrDlg::PrepareShowing()
{
    const QString text = QString::fromStdString(rules_.OpeningField());
    // A longer pre-fill is shown whole (cutting it would change the value
    // silently); OK then refuses it unless the operator shortens it.
    field_->setMaxLength(std::max<int>(kLimit, text.size()));
    field_->setText(text);
}

DialogOutcome CMbcspstrDlg::Evaluate()
{
    return rules_.Accept(field_->text().toStdString());
}

void CMbcspstrDlg::EmptyField()
{
    field_->clear();
    field_->setMaxLength(kLimit);
}

}  // namespace quillon
