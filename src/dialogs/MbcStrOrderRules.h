#pragma once
#include "dialogs/DialogOutcome.h"

#include <string>

namespace quillon {

// The rules of CMbcStrOrder: codes sent together come in any order, or the
// named symbology first.  The chosen symbology code lives on between
// showings.  A typed name that matches no symbology is refused (the dialog
// stays open) rather than quietly standing for the code chosen before.
// Output: number = the symbology code (0 for any order).
class MbcStrOrderRules {
public:
    struct Opening {
        bool specifiedOrder = false;
        std::string selectedName;  // set only in specified order
    };

    void SetItemText(std::string itemText) { itemText_ = std::move(itemText); }
    // An item whose value names a known symbology opens in specified order
    // with that name chosen; anything else opens in any order.
    Opening Open() const;

    // The operator switched to any order.
    void ChooseAnyOrder() { code_ = 0; }

    DialogOutcome Accept(bool anyOrder, const std::string& listText);
    int Code() const { return code_; }

private:
    std::string itemText_;
    int code_ = 0;
};

}  // namespace quillon
