#include "sim/CatalogueSource.h"

#include "catalogue/CatalogueLoader.h"
#include "catalogue/CatalogueTree.h"
#include "catalogue/XmlReader.h"

namespace quillon::sim {

bool LoadCatalogueLists(const std::string& path, CatalogueLists& lists, IPrompt& prompt)
{
    CXmlReader reader;
    CatalogueTree tree;
    CatalogueLoader loader(reader, lists, tree, prompt);
    // A missing command section stops the load but keeps the settings read
    // before it; a device can still be played from those.
    return loader.LoadCatalogue(path) == 0 || !lists.treeNodes.empty();
}

}  // namespace quillon::sim
