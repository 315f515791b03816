#pragma once
#include <string>
#include <string_view>

namespace quillon {

// Character references in element text.

// The value of an entity name: the 252 character entity references of HTML
// 4.01 plus "apos".  The exact spelling is tried first, so that the 64 names
// HTML defines in two letter cases keep their own values ("Oslash" is U+00D8,
// "oslash" U+00F8); otherwise ASCII letters are folded to lower case
// ("AMP" is "&", "OSLASH" is U+00F8).  0 when the name is unknown.
char32_t LookupCharacterEntity(std::u16string_view name);

// Number of names in the table (253).
std::size_t CharacterEntityCount();

// Appends `text` to `out` with character references decoded: "&name;",
// "&#decimal;" and "&#xhex;" whose name part is at most 9 ASCII characters.
// Unknown names, the value 0 and values beyond U+10FFFF are left in the text
// unchanged; values from U+10000 on become surrogate pairs.
void AppendDecodedText(std::u16string& out, std::u16string_view text);

}  // namespace quillon
