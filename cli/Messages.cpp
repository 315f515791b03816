#include "cli/Messages.h"

#include "base/ShownText.h"

#include <cstdio>

namespace quillon::cli {

namespace {

std::string& Prefix()
{
    static std::string prefix = "quillon-cli: ";
    return prefix;
}

}  // namespace

void SetSpeaker(const std::string& who)
{
    Prefix() = who + ": ";
}

void Complain(const std::string& text)
{
    const std::string line = Prefix() + Shown(text) + (text.ends_with('\n') ? "" : "\n");
    std::fputs(line.c_str(), stderr);
}

}  // namespace quillon::cli
