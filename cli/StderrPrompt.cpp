#include "cli/StderrPrompt.h"

#include <cstdio>

namespace quillon::cli {

void StderrPrompt::ShowError(const std::string& text)
{
    std::fprintf(stderr, "%s\n", text.c_str());
}

void StderrPrompt::ShowInfo(const std::string& text)
{
    std::fprintf(stderr, "%s\n", text.c_str());
}

bool StderrPrompt::AskOkCancel(const std::string& text)
{
    std::fprintf(stderr, "%s\n", text.c_str());
    return false;
}

}  // namespace quillon::cli
