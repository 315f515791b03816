#include "dialogs/ExTimeSetDlg.h"

#include "dialogs/DialogTexts.h"

namespace quillon {

CExTimeSetDlg::CExTimeSetDlg(IPrompt& prompt, QWidget* parent)
    : NumberEntryDialog(prompt, parent, true),
      entry_(dialog_texts::kTimeoutOverLimit, false)
{
    PrepareShowing();
}

void CExTimeSetDlg::PrepareShowing()
{
    const dialog_texts::Caption caption = dialog_texts::ExTimeSetCaption(mode_);
    SetCaptions(caption.title, caption.prompt);
    SetField(entry_.OpeningField());
}

}  // namespace quillon
