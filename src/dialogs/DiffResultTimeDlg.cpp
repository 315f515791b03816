#include "dialogs/DiffResultTimeDlg.h"

namespace quillon {

CDiffResultTimeDlg::CDiffResultTimeDlg(IPrompt& prompt, QWidget* parent) : NumberEntryDialog(prompt, parent, false)
{
    PrepareShowing();
}

void CDiffResultTimeDlg::PrepareShowing()
{
    SetCaptions(rules_.Title(), rules_.Prompt());
    SetField({});
}

}  // namespace quillon
