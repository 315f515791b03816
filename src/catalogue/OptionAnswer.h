#pragma once
#include "catalogue/CatalogueRecords.h"
#include "catalogue/SelectionDispatch.h"

#include <optional>
#include <string>
#include <vector>

namespace quillon {

// The option of the catalogue with exactly this code, or null.
const TreeNodeInfo* FindOption(const std::vector<TreeNodeInfo>& nodes, const std::string& code);

// An option named by its code, with its parameter dialog answered from a
// value instead of an operator: what a double-click on the option hands on.
// The one way the programs turn CODE[=VALUE] into a value triple, whether
// for the document (sheets, opened profiles) or for the device (set, apply).
struct OptionAnswer {
    enum class Fault {
        None,
        UnknownCode,   // the catalogue has no option with the code
        TakesNoValue,  // a value for an option without a dialog
        Refused,       // the dialog refused the value, or needed one
    };
    const TreeNodeInfo* option = nullptr;  // set unless the code is unknown
    int recordIndex = -1;                  // the option's index among the records
    AppliedValue applied;
    Fault fault = Fault::None;
    std::string reason;  // why not (the dialog's own words for a refusal); empty when answered

    explicit operator bool() const { return fault == Fault::None; }
};

// The dialog is told the option's name, as a double-click on the unmarked
// tree tells it.
OptionAnswer AnswerOption(const std::vector<TreeNodeInfo>& nodes, const std::string& code,
                          const std::optional<std::string>& value);

}  // namespace quillon
