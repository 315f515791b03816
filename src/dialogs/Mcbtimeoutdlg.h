#pragma once
#include "dialogs/NumberEntryDialog.h"
#include "dialogs/WordEntry.h"

namespace quillon {

// How long the device waits for a set of codes to be complete, in ms.  The
// tree gives it no item text, so the field starts empty; a refused value
// empties it.
class CMcbtimeoutdlg : public NumberEntryDialog {
    Q_OBJECT
public:
    CMcbtimeoutdlg(IPrompt& prompt, QWidget* parent);

    void PrepareShowing() override { SetField({}); }

protected:
    DialogOutcome Evaluate() override { return entry_.Accept(FieldText()); }

private:
    WordEntry entry_;
};

}  // namespace quillon
