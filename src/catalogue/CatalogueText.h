#pragma once
#include "base/Blanks.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

// Text rules of the catalogue file, kept apart from the walk over the XML so
// that each can be checked on its own.

// NODE_ID_FLAG as a decimal integer: leading white space skipped, an optional
// sign, then digits up to the first other character; 0 without digits.
// Values beyond the 32-bit range saturate instead of wrapping.
std::int32_t ParseNodeIdFlag(std::string_view text);

// An option code of a setting of command type "21" must start with the
// setting key pidFid.  A code of four characters or fewer, or one whose first
// four characters differ from pidFid without regard to case, gets pidFid put
// in front.  Comparing lower-cases pidFid itself, so every prefix added after
// the first comparison of that setting is written in lower case.
std::string ApplyPidFidRule(std::string& pidFid, const std::string& code);

}  // namespace quillon
