#pragma once
#include "catalogue/CatalogueRecords.h"

namespace quillon {

// The one document of the program: catalogue lists, configuration entries,
// monitor and decoded-output lines, serial settings.  Never saved to a file.
class CQuillonDoc {
public:
    CatalogueLists catalogue;

    // Serial settings; portNumber above 0 means a port is set and open.
    int portNumber = 0;
    int baudRate = 0;
};

}  // namespace quillon
