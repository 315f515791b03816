#pragma once
#include <string>
#include <string_view>

namespace quillon {

// Reading and checking the entry fields of the parameter dialogs.  Positions and
// lengths count UTF-16 units, the unit the operator's "characters" are
// measured in everywhere else in the program.

// The entry text that a catalogue item text pre-fills.  Items that carry a
// current value read "name: value"; when the first ':' stands after the first
// character, everything up to it and the one character after it is dropped.
// Any other text pre-fills nothing.
std::string PrefillFromItemText(const std::string& itemText);

// Reads a digits-only entry field as a decimal number; empty text is 0.  Text
// that did not come from typing (a pre-fill) is read leniently: each character
// counts as one hexadecimal digit (0-9, a-f, A-F; anything else -1) folded in
// as value * 10 + digit.  The result saturates at +/-1e12 so that a long digit
// string stays out of every range instead of wrapping into one.
long long ReadFieldNumber(std::string_view text);

// atoi-style reading: leading blanks, an optional sign, then leading decimal
// digits (none read as 0), saturating like ReadFieldNumber.
long long ReadLeadingInteger(std::string_view text);

// The low 16 bits of value as four lower-case hex digits, most significant first.
std::string LowWordHex(long long value);

// Number of UTF-16 units in a UTF-8 text.
std::size_t CountUnits(std::string_view text);

bool IsHexText(std::string_view text);

}  // namespace quillon
