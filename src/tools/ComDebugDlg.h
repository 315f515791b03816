#pragma once
#include "tools/CommandInteraction.h"

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;

namespace quillon {

class IPrompt;

// The command interaction dialog ("命令交互"): a command typed in hex, sent
// with "发送", and the log of the exchange, which shows a command together
// with its reply.  It opens the interaction when created and closes it
// (the link's route restored, the log forgotten) however it is closed.
class CComDebugDlg : public QDialog, private IInteractionView {
    Q_OBJECT
public:
    CComDebugDlg(CommandInteraction& interaction, IPrompt& prompt, QWidget* parent = nullptr);
    ~CComDebugDlg() override;

    void done(int result) override;

private:
    // IInteractionView
    void ReplyShown(const std::string& log) override;
    void NoReply() override;

    void OnSend();
    void OnClear();

    CommandInteraction& interaction_;
    IPrompt& prompt_;
    QLineEdit* command_;
    QPlainTextEdit* log_;
};

}  // namespace quillon
