#pragma once
#include "dialogs/DialogOutcome.h"

#include <string>

namespace quillon {

// One decimal entry field whose value travels as a 16-bit word: the time-out,
// sleep-time and exposure dialogs.  OK accepts 0 to 65535 and hands back the
// four lower-case hex digits of the value; the last accepted value and text
// stay for the next showing.
class WordEntry {
public:
    WordEntry(std::string overLimitMessage, bool emptyFieldOnRefusal);

    // The tree's item text; each showing pre-fills the field from it.
    void SetItemText(std::string itemText) { itemText_ = std::move(itemText); }
    std::string OpeningField() const;

    DialogOutcome Accept(const std::string& fieldText);

    long long Value() const { return value_; }
    const std::string& ResultText() const { return resultText_; }

private:
    std::string overLimitMessage_;
    bool emptyFieldOnRefusal_;
    std::string itemText_;
    long long value_ = 0;
    std::string resultText_;
};

}  // namespace quillon
