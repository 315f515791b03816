#pragma once
#include "dialogs/DialogOutcome.h"

#include <string>

namespace quillon {

// The rules of CAddStrDlg: an extra text message for the options that carry
// free text, typed as characters or as hexadecimal bytes, optionally followed
// by a tab and a line break.  Output: text, and hex = whether it is hex bytes.
class AddStrRules {
public:
    static constexpr std::size_t kMaxLength = 40;  // characters, or bytes in hex

    struct Fields {
        std::string text;
        bool tab = false;
        bool lineBreak = false;
        bool hex = false;
    };

    // The option's tree text, "name: message" with the tab and line break
    // written as the escapes \t and \r\n.
    void SetInitialText(std::string text) { initialText_ = std::move(text); }
    // What each showing starts with; the HEX box always starts cleared.
    Fields Opening() const;

    DialogOutcome Accept(const Fields& fields);

    const std::string& ResultText() const { return resultText_; }
    bool IsHex() const { return isHex_; }

private:
    std::string initialText_;
    std::string resultText_;
    bool isHex_ = false;
};

}  // namespace quillon
