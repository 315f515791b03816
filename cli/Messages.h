#pragma once
#include <string>

namespace quillon::cli {

// Every failure reaches standard error in one form, "quillon-cli VERB: what
// went wrong", so that a script or a log tells which run said it.  `who` is
// what comes before the colon ("quillon-cli read", "quillon-sim").
void SetSpeaker(const std::string& who);
// The first line prefixed; lines below it (a reason, a hint) as they are.
void Complain(const std::string& text);

}  // namespace quillon::cli
