#pragma once
#include "catalogue/CatalogueRecords.h"
#include "catalogue/SelectionTargets.h"

#include <string>

namespace quillon {

// The command string a configuration barcode carries for an option and its
// value: the option's prefix, then its code or its setting key with the value.
std::string BuildCommandString(const TreeNodeInfo& option, const ValueTriple& value);

// The caption shown above the barcode: the setting's group and name, then the
// value (text and byte values) or the caption text or option name.
std::string BuildCaption(const TreeNodeInfo& setting, const TreeNodeInfo& option, const ValueTriple& value,
                         const std::string& captionText);

}  // namespace quillon
