#pragma once
#include "catalogue/SelectionTargets.h"
#include "dialogs/ParameterDialogs.h"

#include <string>
#include <string_view>

namespace quillon {

// Which parameter dialog an option opens, and what it is told first.  The
// first two bytes of an option code are the setting key; the top two bits of
// the second byte give the frame form, so counted settings take text or byte
// strings and two-byte settings take numbers.
struct DialogChoice {
    ParameterDialog dialog = ParameterDialog::None;
    int mode = -1;                // < 0: the dialog's mode is left alone
    bool passOptionText = false;  // the dialog shows the option's caption
};

// A byte of the option code: characters at [offset, offset + 2) read as hex
// digits up to the first other character; 0 when absent.
int CodeByte(std::string_view code, std::size_t offset);

DialogChoice ChooseParameterDialog(std::string_view optionCode);

// Reads text as a 16-bit hex number (anything that is not a hex digit makes
// it FFFF) and writes it back as four upper-case hex digits, so the device
// always gets a two-byte value however the operator typed it.
std::string Hex16Normalise(std::string_view text);

// Characters as the operator sees them (UTF-16 units, as text values are
// measured everywhere in the program).
int CharacterCount(std::string_view utf8);

// What a setting receives after its dialog's OK: the value triple, and for the
// interval dialog a caption text that only the document shows.
struct AppliedValue {
    ValueTriple value;
    std::string captionText;
};

AppliedValue BuildAppliedValue(ParameterDialog dialog, const DialogOutput& output);

}  // namespace quillon
