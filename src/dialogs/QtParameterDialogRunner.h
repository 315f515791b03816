#pragma once
#include "dialogs/ParameterDialogBase.h"
#include "dialogs/ParameterDialogs.h"

#include <QPointer>

#include <array>
#include <cstddef>

namespace quillon {

class IPrompt;

// Shows the parameter dialogs as modal Qt dialogs over `parent`, with their
// refusals going through `prompt` (which must outlive the runner).  Each
// dialog is built on its first use and kept for the rest of the run (as a
// child of `parent` when there is one; the runner deletes those still alive
// when it goes), so it remembers its mode, item text and last result.
//
// Run(kind, request): a mode >= 0 is given to the dialog first, a non-empty
// option text (the option's tree text, "name: current value") is given as
// its item text, with the device's value when it reported one; then the dialog lays out its fields for a new
// showing and runs modally.  Returns the output of OK, or nullopt on Cancel
// and for ParameterDialog::None.  A refused OK shows its message and keeps
// the dialog open, so Run returns only on a valid OK or on Cancel.
class QtParameterDialogRunner : public IParameterDialogRunner {
public:
    QtParameterDialogRunner(QWidget* parent, IPrompt& prompt);
    ~QtParameterDialogRunner() override;
    QtParameterDialogRunner(const QtParameterDialogRunner&) = delete;
    QtParameterDialogRunner& operator=(const QtParameterDialogRunner&) = delete;

    std::optional<DialogOutput> Run(ParameterDialog kind, const DialogRequest& request) override;

    // The dialog for kind, created on first request (nullptr for None).
    ParameterDialogBase* Dialog(ParameterDialog kind);

private:
    static constexpr std::size_t kKinds = static_cast<std::size_t>(ParameterDialog::DiffResultTime) + 1;

    QWidget* parent_;
    IPrompt& prompt_;
    // QPointer: a parent destroyed first takes its dialogs with it.
    std::array<QPointer<ParameterDialogBase>, kKinds> dialogs_{};
};

}  // namespace quillon
