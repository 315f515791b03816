#pragma once
#include "app/Prompt.h"

namespace quillon::cli {

// Message boxes of the core, written as lines on standard error.  There is
// no one to answer a question, so questions are declined.
class StderrPrompt : public IPrompt {
public:
    void ShowError(const std::string& text) override;
    void ShowInfo(const std::string& text) override;
    bool AskOkCancel(const std::string& text) override;
};

}  // namespace quillon::cli
