#pragma once
#include "dialogs/DialogOutcome.h"

#include <string>

namespace quillon {

// The rules of CM1BlockDlg: which M1 card block to read and with which key.
// Output: text = 16 hex characters: the authentication command (60 key A,
// 61 key B), the absolute block number, the key padded with 00 to six bytes.
class M1BlockRules {
public:
    struct Fields {
        bool keyB = false;
        std::string sector;
        std::string block;
        std::string key;
    };

    static DialogOutcome Accept(const Fields& fields);
};

}  // namespace quillon
