#pragma once
#include "dialogs/DialogOutcome.h"

#include <string>

namespace quillon {

// The rules of CCodeNumDLG: how many codes one reading sends out (2 to 6).
// The field cannot be typed into; arrows step it within 2..6, and only a
// pre-fill from the item text can put another value there.
// Output: number = the count.
class CodeNumRules {
public:
    static constexpr long long kLowest = 2;
    static constexpr long long kHighest = 6;

    void SetItemText(std::string itemText) { itemText_ = std::move(itemText); }
    // The item's current value, or the lowest count when the item carries none.
    std::string OpeningField() const;

    // The field after one press of the up or the down arrow.
    static std::string Step(const std::string& fieldText, bool up);

    DialogOutcome Accept(const std::string& fieldText);
    long long Count() const { return count_; }

private:
    std::string itemText_;
    long long count_ = 0;
};

}  // namespace quillon
