#pragma once
#include "dialogs/ParameterDialogs.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace quillon::test {

// Records every dialog request and answers from a queue (Cancel when empty).
class FakeDialogs : public IParameterDialogRunner {
public:
    struct Call {
        ParameterDialog dialog;
        int mode;
        std::string optionText;
        std::optional<std::string> deviceValue;
    };
    std::optional<DialogOutput> Run(ParameterDialog dialog, const DialogRequest& request) override
    {
        calls.push_back({dialog, request.mode, request.optionText, request.deviceValue});
        if (answers.empty())
            return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::vector<Call> calls;
    std::deque<std::optional<DialogOutput>> answers;
};

}  // namespace quillon::test
