#include "dialogs/MbcSpStrRules.h"

#include "dialogs/DialogTexts.h"
#include "dialogs/FieldText.h"

namespace quillon {

std::string MbcSpStrRules::OpeningField() const
{
    return PrefillFromItemText(itemText_);
}

DialogOutcome MbcSpStrRules::Accept(const std::string& fieldText)
{
    if (CountUnits(fieldText) > kMaxCharacters) {
        separator_.clear();
        return DialogOutcome::Refuse(dialog_texts::kMbcSpStrTooLong, true);
    }
    separator_ = fieldText;
    DialogOutput out;
    out.text = separator_;
    return DialogOutcome::Close(std::move(out));
}

}  // namespace quillon
