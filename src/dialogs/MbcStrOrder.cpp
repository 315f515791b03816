#include "dialogs/MbcStrOrder.h"

#include "base/QtText.h"

#include "dialogs/DialogTexts.h"
#include "dialogs/SymbologyNames.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

namespace quillon {

CMbcStrOrder::CMbcStrOrder(IPrompt& prompt, QWidget* parent)
    : ParameterDialogBase(prompt, parent),
      anyOrder_(new QRadioButton(Tr(dialog_texts::kAnyOrder), this)),
      specifiedOrder_(new QRadioButton(Tr(dialog_texts::kSpecifiedOrder), this)),
      names_(new QComboBox(this))
{
    setWindowTitle(Tr(dialog_texts::kMbcStrOrderTitle));
    anyOrder_->setObjectName("anyOrder");
    specifiedOrder_->setObjectName("specifiedOrder");
    names_->setObjectName("names");
    names_->setEditable(true);
    names_->setInsertPolicy(QComboBox::NoInsert);
    for (const SymbologyName& entry : SymbologyNames())
        names_->addItem(Q(entry.name));

    connect(anyOrder_, &QRadioButton::clicked, this, [this] {
        names_->setEnabled(false);
        rules_.ChooseAnyOrder();
    });
    connect(specifiedOrder_, &QRadioButton::clicked, this, [this] { names_->setEnabled(true); });

    auto* modes = new QHBoxLayout;
    modes->addWidget(anyOrder_);
    modes->addWidget(specifiedOrder_);
    Content()->addLayout(modes);
    Content()->addWidget(new QLabel(Tr(dialog_texts::kMbcStrOrderPrompt), this));
    Content()->addWidget(names_);
    PrepareShowing();
}

void CMbcStrOrder::PrepareShowing()
{
    const MbcStrOrderRules::Opening opening = rules_.Open();
    if (opening.specifiedOrder) {
        specifiedOrder_->setChecked(true);
        names_->setEnabled(true);
        names_->setCurrentIndex(names_->findText(QString::fromStdString(opening.selectedName)));
    } else {
        anyOrder_->setChecked(true);
        names_->setEnabled(false);
    }
}

QWidget* CMbcStrOrder::FirstEntry() const
{
    if (names_->isEnabled())
        return names_;
    return anyOrder_->isChecked() ? anyOrder_ : specifiedOrder_;
}

DialogOutcome CMbcStrOrder::Evaluate()
{
    return rules_.Accept(anyOrder_->isChecked(), names_->currentText().toStdString());
}

}  // namespace quillon
