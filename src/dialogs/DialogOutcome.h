#pragma once
#include "dialogs/ParameterDialogs.h"

#include <optional>
#include <string>

namespace quillon {

// What pressing OK in a parameter dialog comes to: either the dialog closes
// with an output, or it stays open after showing a message (and perhaps
// emptying the entry field, so the operator starts that field again).
struct DialogOutcome {
    std::optional<DialogOutput> output;
    std::string message;
    bool emptyField = false;

    static DialogOutcome Close(DialogOutput out) { return {std::move(out), {}, false}; }
    static DialogOutcome Refuse(std::string text, bool empty = false) { return {std::nullopt, std::move(text), empty}; }
};

}  // namespace quillon
