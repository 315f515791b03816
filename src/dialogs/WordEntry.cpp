#include "dialogs/WordEntry.h"

#include "dialogs/FieldText.h"

namespace quillon {

WordEntry::WordEntry(std::string overLimitMessage, bool emptyFieldOnRefusal)
    : overLimitMessage_(std::move(overLimitMessage)),
      emptyFieldOnRefusal_(emptyFieldOnRefusal)
{
}

std::string WordEntry::OpeningField() const
{
    return PrefillFromItemText(itemText_);
}

DialogOutcome WordEntry::Accept(const std::string& fieldText)
{
    const long long value = ReadFieldNumber(fieldText);
    // A negative reading only comes from a pre-fill holding non-digits; its
    // low word would be a meaningless large number, so refuse it too.
    if (value < 0 || value > 0xFFFF)
        return DialogOutcome::Refuse(overLimitMessage_, emptyFieldOnRefusal_);
    value_ = value;
    resultText_ = LowWordHex(value);
    DialogOutput out;
    out.text = resultText_;
    out.number = static_cast<long>(value);
    return DialogOutcome::Close(std::move(out));
}

}  // namespace quillon
