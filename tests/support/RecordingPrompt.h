#pragma once
#include "base/Prompt.h"

#include <deque>
#include <string>
#include <vector>

namespace quillon::test {

// Answers questions from a queue (OK when empty) and records every text shown.
class RecordingPrompt : public IPrompt {
public:
    struct Shown {
        enum Kind { Error, Info, Question, Warning, Choice } kind;
        std::string text;
    };

    void ShowError(const std::string& text) override { shown.push_back({Shown::Error, text}); }
    void ShowInfo(const std::string& text) override { shown.push_back({Shown::Info, text}); }
    bool AskOkCancel(const std::string& text) override { return Answer(Shown::Question, text); }
    bool WarnOkCancel(const std::string& text) override { return Answer(Shown::Warning, text); }
    // Records "text [first|second]"; answered from `choices` (Cancel when empty).
    Choice AskChoice(const std::string& text, const std::string& first, const std::string& second) override
    {
        shown.push_back({Shown::Choice, text + " [" + first + "|" + second + "]"});
        if (choices.empty())
            return Choice::Cancel;
        const Choice choice = choices.front();
        choices.pop_front();
        return choice;
    }

    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const auto& s : shown)
            texts.push_back(s.text);
        return texts;
    }

    std::deque<bool> answers;
    std::deque<Choice> choices;
    std::vector<Shown> shown;

private:
    bool Answer(Shown::Kind kind, const std::string& text)
    {
        shown.push_back({kind, text});
        if (answers.empty())
            return true;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

}  // namespace quillon::test
