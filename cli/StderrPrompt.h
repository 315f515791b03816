#pragma once
#include "base/Prompt.h"

namespace quillon::cli {

// Message boxes of the core, written as lines on standard error in the
// tool's one form, after the file or port they concern.  There is no one to
// answer a question, so questions are declined.
class StderrPrompt : public IPrompt {
public:
    explicit StderrPrompt(std::string subject = {}) : subject_(std::move(subject)) {}
    void ShowError(const std::string& text) override;
    void ShowInfo(const std::string& text) override;
    bool AskOkCancel(const std::string& text) override;

protected:
    // "SUBJECT: text", or the text alone without a subject.
    std::string About(const std::string& text) const;

private:
    std::string subject_;
};

}  // namespace quillon::cli
