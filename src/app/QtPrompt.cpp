#include "app/QtPrompt.h"

#include "base/QtText.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace quillon {

namespace {
QString Caption()
{
    return QApplication::applicationDisplayName();
}

// A message that comes while the program shows it is busy (a port that
// would not open) is read with the ordinary pointer; the busy one returns
// after it.
class OrdinaryPointer {
public:
    OrdinaryPointer() : busy_(QApplication::overrideCursor() != nullptr)
    {
        if (busy_)
            QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~OrdinaryPointer()
    {
        if (busy_)
            QApplication::restoreOverrideCursor();
    }
    OrdinaryPointer(const OrdinaryPointer&) = delete;
    OrdinaryPointer& operator=(const OrdinaryPointer&) = delete;

private:
    bool busy_;
};
}  // namespace

void QtPrompt::ShowError(const std::string& text)
{
    const OrdinaryPointer pointer;
    QMessageBox::warning(parent_, Caption(), Tr(text), QMessageBox::Ok);
}

void QtPrompt::ShowInfo(const std::string& text)
{
    const OrdinaryPointer pointer;
    QMessageBox::information(parent_, Caption(), Tr(text), QMessageBox::Ok);
}

bool QtPrompt::AskOkCancel(const std::string& text)
{
    const OrdinaryPointer pointer;
    return QMessageBox::question(parent_, Caption(), Tr(text), QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Ok) == QMessageBox::Ok;
}

bool QtPrompt::WarnOkCancel(const std::string& text)
{
    const OrdinaryPointer pointer;
    return QMessageBox::warning(parent_, Caption(), Tr(text), QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) ==
           QMessageBox::Ok;
}

IPrompt::Choice QtPrompt::AskChoice(const std::string& text, const std::string& first, const std::string& second)
{
    const OrdinaryPointer pointer;
    QMessageBox box(QMessageBox::Question, Caption(), Tr(text), QMessageBox::NoButton, parent_);
    QAbstractButton* firstButton = box.addButton(Tr(first), QMessageBox::AcceptRole);
    QAbstractButton* secondButton = box.addButton(Tr(second), QMessageBox::AcceptRole);
    box.setEscapeButton(box.addButton(Tr("取消"), QMessageBox::RejectRole));
    box.setDefaultButton(static_cast<QPushButton*>(firstButton));
    box.exec();
    if (box.clickedButton() == firstButton)
        return Choice::First;
    return box.clickedButton() == secondButton ? Choice::Second : Choice::Cancel;
}

}  // namespace quillon
