#pragma once
#include "catalogue/CatalogueLoader.h"
#include "catalogue/CatalogueTree.h"
#include "catalogue/XmlReader.h"
#include "document/QuillonDoc.h"
#include "support/RecordingPrompt.h"

#include <string>

namespace quillon::test {

// A document holding the bundled catalogue, loaded as the window loads it.
struct BundledCatalogue {
    BundledCatalogue()
    {
        CXmlReader reader;
        status = CatalogueLoader(reader, doc.catalogue, tree, prompt)
                     .LoadCatalogue(std::string(QUILLON_SOURCE_DIR) + "/config/all.xml");
    }
    RecordingPrompt prompt;
    CQuillonDoc doc;
    CatalogueTree tree;
    int status = -1;
};

}  // namespace quillon::test
