#include "dialogs/CodeNumDLG.h"

#include "base/QtText.h"

#include "dialogs/DialogTexts.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace quillon {

CCodeNumDLG::CCodeNumDLG(IPrompt& prompt, QWidget* parent)
    : ParameterDialogBase(prompt, parent),
      field_(new QLineEdit(this))
{
    setWindowTitle(Tr(dialog_texts::kCodeNumTitle));
    field_->setObjectName("field");
    // No length limit: a pre-filled value must be shown whole so that OK
    // can refuse it, and the field cannot be typed into anyway.
    field_->setReadOnly(true);
    field_->setAlignment(Qt::AlignCenter);

    auto* up = new QToolButton(this);
    up->setObjectName("up");
    up->setArrowType(Qt::UpArrow);
    auto* down = new QToolButton(this);
    down->setObjectName("down");
    down->setArrowType(Qt::DownArrow);
    connect(up, &QToolButton::clicked, this, [this] { Step(true); });
    connect(down, &QToolButton::clicked, this, [this] { Step(false); });

    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    arrows->addWidget(up);
    arrows->addWidget(down);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(Tr(dialog_texts::kCodeNumPrompt), this));
    row->addWidget(field_);
    row->addLayout(arrows);
    Content()->addLayout(row);
    PrepareShowing();
}

void CCodeNumDLG::PrepareShowing()
{
    field_->setText(QString::fromStdString(rules_.OpeningField()));
}

DialogOutcome CCodeNumDLG::Evaluate()
{
    return rules_.Accept(field_->text().toStdString());
}

void CCodeNumDLG::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)
        Step(event->key() == Qt::Key_Up);
    else
        ParameterDialogBase::keyPressEvent(event);
}

void CCodeNumDLG::Step(bool up)
{
    field_->setText(QString::fromStdString(CodeNumRules::Step(field_->text().toStdString(), up)));
}

}  // namespace quillon
