#include "dialogs/SpeedSetDlg.h"

#include "dialogs/DialogTexts.h"

namespace quillon {

CSpeedSetDlg::CSpeedSetDlg(IPrompt& prompt, QWidget* parent)
    : NumberEntryDialog(prompt, parent, true),
      entry_(dialog_texts::kSpeedOverLimit, false)
{
    SetCaptions(dialog_texts::kSpeedSetTitle, dialog_texts::kSpeedSetPrompt);
    PrepareShowing();
}

}  // namespace quillon
