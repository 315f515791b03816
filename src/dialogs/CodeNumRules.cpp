#include "dialogs/CodeNumRules.h"

#include "dialogs/DialogTexts.h"
#include "dialogs/FieldText.h"

namespace quillon {

std::string CodeNumRules::OpeningField() const
{
    std::string field = PrefillFromItemText(itemText_);
    return field.empty() ? std::to_string(kLowest) : field;
}

std::string CodeNumRules::Step(const std::string& fieldText, bool up)
{
    const long long value = ReadFieldNumber(fieldText);
    long long next;
    if (up)
        next = value >= kHighest ? kHighest : value + 1;
    else
        next = value <= kLowest ? kLowest : value - 1;
    return std::to_string(next);
}

DialogOutcome CodeNumRules::Accept(const std::string& fieldText)
{
    const long long value = ReadFieldNumber(fieldText);
    // A negative reading (non-digits in a pre-fill) would reach the device
    // as FFFF; it is as wrong as a count above the limit.
    if (value < 0 || value > kHighest)
        return DialogOutcome::Refuse(dialog_texts::kCodeNumOverLimit);
    count_ = value;
    DialogOutput out;
    out.number = static_cast<long>(value);
    return DialogOutcome::Close(std::move(out));
}

}  // namespace quillon
