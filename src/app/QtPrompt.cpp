#include "app/QtPrompt.h"

#include <QApplication>
#include <QMessageBox>

namespace quillon {

namespace {
QString Caption()
{
    return QApplication::applicationDisplayName();
}
}  // namespace

void QtPrompt::ShowError(const std::string& text)
{
    QMessageBox::warning(parent_, Caption(), QString::fromStdString(text), QMessageBox::Ok);
}

void QtPrompt::ShowInfo(const std::string& text)
{
    QMessageBox::information(parent_, Caption(), QString::fromStdString(text), QMessageBox::Ok);
}

bool QtPrompt::AskOkCancel(const std::string& text)
{
    return QMessageBox::question(parent_, Caption(), QString::fromStdString(text),
                                 QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok)
        == QMessageBox::Ok;
}

bool QtPrompt::WarnOkCancel(const std::string& text)
{
    return QMessageBox::warning(parent_, Caption(), QString::fromStdString(text),
                                QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok)
        == QMessageBox::Ok;
}

}  // namespace quillon
