#include "dialogs/Mcbtimeoutdlg.h"

#include "dialogs/DialogTexts.h"

namespace quillon {

namespace {
constexpr int kFieldDigits = 5;
}

CMcbtimeoutdlg::CMcbtimeoutdlg(IPrompt& prompt, QWidget* parent)
    : NumberEntryDialog(prompt, parent, true, kFieldDigits),
      entry_(dialog_texts::kTimeoutOverLimit, true)
{
    SetCaptions(dialog_texts::kMcbTimeoutTitle, dialog_texts::kMcbTimeoutPrompt);
    PrepareShowing();
}

}  // namespace quillon
