#pragma once
#include "base/Prompt.h"

class QWidget;

namespace quillon {

// Shows prompts as Qt message boxes over the given parent window.
class QtPrompt : public IPrompt {
public:
    explicit QtPrompt(QWidget* parent = nullptr) : parent_(parent) {}

    void ShowError(const std::string& text) override;
    void ShowInfo(const std::string& text) override;
    bool AskOkCancel(const std::string& text) override;
    bool WarnOkCancel(const std::string& text) override;
    Choice AskChoice(const std::string& text, const std::string& first, const std::string& second) override;

private:
    QWidget* parent_;
};

}  // namespace quillon
