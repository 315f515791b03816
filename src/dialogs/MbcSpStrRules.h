#pragma once
#include "dialogs/DialogOutcome.h"

#include <string>

namespace quillon {

// The rules of CMbcspstrDlg: the text put between codes sent together, at
// most eight characters.  Output: text = the separator as typed.
class MbcSpStrRules {
public:
    static constexpr std::size_t kMaxCharacters = 8;

    void SetItemText(std::string itemText) { itemText_ = std::move(itemText); }
    std::string OpeningField() const;

    DialogOutcome Accept(const std::string& fieldText);
    const std::string& Separator() const { return separator_; }

private:
    std::string itemText_;
    std::string separator_;
};

}  // namespace quillon
