#include "tools/ComDebugDlg.h"

#include "base/Prompt.h"
#include "base/QtText.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace quillon {

CComDebugDlg::CComDebugDlg(CommandInteraction& interaction, IPrompt& prompt, QWidget* parent)
    : QDialog(parent),
      interaction_(interaction),
      prompt_(prompt)
{
    setWindowTitle(Tr("命令交互"));

    command_ = new QLineEdit(this);
    command_->setObjectName("command");
    log_ = new QPlainTextEdit(this);
    log_->setObjectName("log");
    log_->setReadOnly(true);
    log_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    log_->setMinimumSize(480, 260);
    auto* send = new QPushButton(Tr("发送"), this);
    send->setObjectName("send");
    auto* clear = new QPushButton(Tr("清除"), this);
    clear->setObjectName("clear");
    auto* close = new QPushButton(Tr("关闭"), this);
    close->setObjectName("close");
    // Enter in the command box sends it.
    send->setDefault(true);
    clear->setAutoDefault(false);
    close->setAutoDefault(false);

    auto* commandRow = new QHBoxLayout;
    commandRow->addWidget(new QLabel(Tr("发送命令："), this));
    commandRow->addWidget(command_, 1);
    commandRow->addWidget(send);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(clear);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(commandRow);
    layout->addWidget(new QLabel(Tr("数据显示："), this));
    layout->addWidget(log_, 1);
    layout->addLayout(buttons);

    connect(send, &QPushButton::clicked, this, &CComDebugDlg::OnSend);
    connect(clear, &QPushButton::clicked, this, &CComDebugDlg::OnClear);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    interaction_.Open(*this);
}

CComDebugDlg::~CComDebugDlg()
{
    interaction_.Close(*this);
}

void CComDebugDlg::done(int result)
{
    interaction_.Close(*this);
    log_->clear();
    QDialog::done(result);
}

void CComDebugDlg::OnSend()
{
    if (!interaction_.Send(command_->text().toStdString()))
        prompt_.ShowError(kCommandLengthText);
}

void CComDebugDlg::OnClear()
{
    interaction_.Clear();
    log_->clear();
}

void CComDebugDlg::ReplyShown(const std::string& log)
{
    QString text = Q(log);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    log_->setPlainText(text);
    log_->verticalScrollBar()->setValue(log_->verticalScrollBar()->maximum());
}

void CComDebugDlg::NoReply()
{
    prompt_.ShowError(kUnrecognisedCommandText);
}

}  // namespace quillon
