#include "cli/StderrPrompt.h"

#include "cli/Messages.h"

namespace quillon::cli {

std::string StderrPrompt::About(const std::string& text) const
{
    return subject_.empty() ? text : subject_ + ": " + text;
}

void StderrPrompt::ShowError(const std::string& text)
{
    Complain(About(text));
}

void StderrPrompt::ShowInfo(const std::string& text)
{
    Complain(About(text));
}

bool StderrPrompt::AskOkCancel(const std::string& text)
{
    Complain(About(text));
    return false;
}

}  // namespace quillon::cli
