#pragma once
#include "dialogs/DialogOutcome.h"

#include <optional>
#include <string>
#include <string_view>

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
    // The bytes the device holds for the option, when it reported them.  The
    // tree shows them with control bytes as "(xNN)", which would go back to
    // the device as those characters; the opening is then built from the
    // bytes, so that OK alone sends back exactly what the device holds.
    void SetDeviceValue(std::optional<std::string> bytes) { deviceValue_ = std::move(bytes); }
    // What each showing starts with: from the tree text, the HEX box
    // cleared, or from the device's bytes.
    Fields Opening() const;
    // The fields whose OK gives these bytes again: a trailing CR LF and tab
    // as their boxes, the rest as text when it is printable ASCII, else as
    // hex digits.
    static Fields FieldsFor(std::string_view bytes);

    DialogOutcome Accept(const Fields& fields);

    const std::string& ResultText() const { return resultText_; }
    bool IsHex() const { return isHex_; }

private:
    std::string initialText_;
    std::optional<std::string> deviceValue_;
    std::string resultText_;
    bool isHex_ = false;
};

}  // namespace quillon
