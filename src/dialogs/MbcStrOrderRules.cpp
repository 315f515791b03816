#include "dialogs/MbcStrOrderRules.h"

#include "base/Blanks.h"
#include "dialogs/DialogTexts.h"
#include "dialogs/FieldText.h"
#include "dialogs/SymbologyNames.h"

namespace quillon {

MbcStrOrderRules::Opening MbcStrOrderRules::Open() const
{
    Opening opening;
    std::string value = PrefillFromItemText(itemText_);
    if (FindSymbologyCode(value)) {
        opening.specifiedOrder = true;
        opening.selectedName = std::move(value);
    }
    return opening;
}

DialogOutcome MbcStrOrderRules::Accept(bool anyOrder, const std::string& listText)
{
    if (anyOrder) {
        code_ = 0;
    } else if (const auto code = FindSymbologyCode(TrimBlanks(listText))) {
        code_ = *code;
    } else {
        return DialogOutcome::Refuse(dialog_texts::kUnknownSymbology);
    }
    DialogOutput out;
    out.number = code_;
    return DialogOutcome::Close(std::move(out));
}

}  // namespace quillon
