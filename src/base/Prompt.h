#pragma once
#include <string>

namespace quillon {

// Every message box and question the program shows goes through this
// interface, so that core code can ask the operator without knowing about
// windows, and tests can answer and read the exact texts.
class IPrompt {
public:
    virtual ~IPrompt() = default;
    // Error or refusal: exclamation icon, OK button.
    virtual void ShowError(const std::string& text) = 0;
    // Plain information: information icon, OK button.
    virtual void ShowInfo(const std::string& text) = 0;
    // Question with OK and Cancel; true when the operator chose OK.
    virtual bool AskOkCancel(const std::string& text) = 0;
    // The same question where OK loses something: exclamation icon.  Where
    // there are no icons it is a plain question.
    virtual bool WarnOkCancel(const std::string& text) { return AskOkCancel(text); }

    // A question with two ways forward and Cancel; the buttons carry the
    // given texts.  Where only OK and Cancel can be asked, OK is the first way.
    enum class Choice { First, Second, Cancel };
    virtual Choice AskChoice(const std::string& text, const std::string& first, const std::string& second)
    {
        (void)first;
        (void)second;
        return AskOkCancel(text) ? Choice::First : Choice::Cancel;
    }
};

}  // namespace quillon
