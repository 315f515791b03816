#pragma once
#include "base/Prompt.h"
#include "catalogue/CatalogueRecords.h"

#include <string>

namespace quillon::sim {

// Fills lists from a catalogue file with the program's own loader, so the
// device offers exactly the settings the tool will show.  False when the
// file gave no settings at all (the loader has told prompt why).
bool LoadCatalogueLists(const std::string& path, CatalogueLists& lists, IPrompt& prompt);

}  // namespace quillon::sim
