#pragma once
#include "dialogs/ParameterDialogs.h"

#include <optional>
#include <string>

namespace quillon {

// Answers a parameter dialog from a value given on the command line, through
// the same rules the dialog applies to what an operator types.  Value forms:
//   add-text dialog: TEXT, or hex:HEXBYTES for the HEX box
//   M1 block dialog: A|B:SECTOR:BLOCK:KEY
//   output order dialog: any, or the symbology name
//   every other dialog: the text of its entry field
class DialogInputs : public IParameterDialogRunner {
public:
    // The value for the next dialog; nullopt when the item carried none.
    void SetValue(std::optional<std::string> value)
    {
        value_ = std::move(value);
        error_.clear();
    }

    std::optional<DialogOutput> Run(ParameterDialog dialog, const DialogRequest& request) override;

    // Why the last dialog gave no output; empty when it did.
    const std::string& Error() const { return error_; }

private:
    std::optional<std::string> value_;
    std::string error_;
};

// The value, in the form above, that makes a dialog give this output again:
// how a profile keeps what an operator chose in the window.
std::string DialogInputText(ParameterDialog dialog, const DialogOutput& output);

}  // namespace quillon
