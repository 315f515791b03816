#include "dialogs/QtParameterDialogRunner.h"

#include "dialogs/AddStrDlg.h"
#include "dialogs/CodeNumDLG.h"
#include "dialogs/DiffResultTimeDlg.h"
#include "dialogs/ExTimeSetDlg.h"
#include "dialogs/M1BlockDlg.h"
#include "dialogs/MbcStrOrder.h"
#include "dialogs/MbcspstrDlg.h"
#include "dialogs/Mcbtimeoutdlg.h"
#include "dialogs/SpeedSetDlg.h"

namespace quillon {

namespace {

ParameterDialogBase* Create(ParameterDialog kind, IPrompt& prompt, QWidget* parent)
{
    switch (kind) {
    case ParameterDialog::None: return nullptr;
    case ParameterDialog::M1Block: return new CM1BlockDlg(prompt, parent);
    case ParameterDialog::AddStr: return new CAddStrDlg(prompt, parent);
    case ParameterDialog::MbcSpStr: return new CMbcspstrDlg(prompt, parent);
    case ParameterDialog::CodeNum: return new CCodeNumDLG(prompt, parent);
    case ParameterDialog::McbTimeout: return new CMcbtimeoutdlg(prompt, parent);
    case ParameterDialog::MbcStrOrder: return new CMbcStrOrder(prompt, parent);
    case ParameterDialog::ExTimeSet: return new CExTimeSetDlg(prompt, parent);
    case ParameterDialog::SpeedSet: return new CSpeedSetDlg(prompt, parent);
    case ParameterDialog::DiffResultTime: return new CDiffResultTimeDlg(prompt, parent);
    }
    return nullptr;
}

}  // namespace

QtParameterDialogRunner::QtParameterDialogRunner(QWidget* parent, IPrompt& prompt) : parent_(parent), prompt_(prompt)
{
}

QtParameterDialogRunner::~QtParameterDialogRunner()
{
    for (QPointer<ParameterDialogBase>& dialog : dialogs_)
        delete dialog.data();
}

ParameterDialogBase* QtParameterDialogRunner::Dialog(ParameterDialog kind)
{
    const auto index = static_cast<std::size_t>(kind);
    if (index >= kKinds)
        return nullptr;
    if (!dialogs_[index])
        dialogs_[index] = Create(kind, prompt_, parent_);
    return dialogs_[index];
}

std::optional<DialogOutput> QtParameterDialogRunner::Run(ParameterDialog kind, const DialogRequest& request)
{
    ParameterDialogBase* dialog = Dialog(kind);
    if (!dialog)
        return std::nullopt;
    if (request.mode >= 0)
        dialog->SetMode(request.mode);
    if (!request.optionText.empty()) {
        dialog->SetItemText(request.optionText);
        dialog->SetDeviceValue(request.deviceValue);
    }
    dialog->PrepareShowing();
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog->Output();
}

}  // namespace quillon
