#pragma once
#include "catalogue/CatalogueTree.h"

#include <optional>
#include <string>

namespace quillon {

class CQuillonDoc;

// Adds options of the catalogue to the document as a double-click adds them,
// each parameter dialog answered from a given value instead of an operator:
// quillon-cli's sheet and opening a profile in the window.
class OptionEntries {
public:
    OptionEntries(CQuillonDoc& doc, const CatalogueTree& tree);

    // Empty when the entry was added; otherwise why not.
    std::string Add(const std::string& code, const std::optional<std::string>& value);

private:
    CQuillonDoc& doc_;
    const CatalogueTree& tree_;
};

}  // namespace quillon
