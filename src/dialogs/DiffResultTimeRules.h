#pragma once
#include "dialogs/DialogOutcome.h"

#include <string>

namespace quillon {

// The rules of CDiffResultTimeDlg: one decimal number up to a limit that the
// mode chooses (intervals, register count and address, station address).
// Modes 0, 1, 3, 4 are millisecond intervals, 5 and 6 Modbus registers, 7 the
// one-byte station address.  Output: text = the value as upper-case hex (two
// digits in mode 7, else four), captionText = the value for people to read.
class DiffResultTimeRules {
public:
    // A mode outside the table keeps the captions and limit of the last known one.
    void SetMode(int mode);

    const char* Title() const { return title_; }
    const char* Prompt() const { return prompt_; }
    long long Maximum() const { return maximum_; }

    DialogOutcome Accept(const std::string& fieldText);

    const std::string& ResultText() const { return resultText_; }
    const std::string& DisplayText() const { return displayText_; }

private:
    int mode_ = 0;
    const char* title_ = "相同译码结果时间间隔设置";
    const char* prompt_ = "译码相同结果时间间隔，有效值为0－65535，单位ms：";
    long long maximum_ = 65535;
    std::string resultText_;
    std::string displayText_;
};

}  // namespace quillon
