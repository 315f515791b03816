#include "app/ConfigFile.h"
#include "catalogue/CatalogueLoader.h"
#include "catalogue/CatalogueTree.h"
#include "catalogue/XmlReader.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using quillon::ReadCatalogueName;

TEST(ConfigFile, CatalogueNameFromTheIniFile)
{
    quillon::test::TempDir dir;
    EXPECT_EQ(ReadCatalogueName((dir.Path() / "config.ini").string()), "all.xml");  // no file
    const std::pair<const char*, const char*> cases[] = {
        {"[Common]\nother=1\n", "null"},  // no key
        {"[Other]\nbspxml=x.xml\n", "null"},
        {"[COMMON]\nBSPXML  =   scanner.xml  \n", "scanner.xml"},    // names ignore case; blanks trimmed
        {"[Common]\nbspxml=a.xml\nbspxml=b.xml\n", "a.xml\nb.xml"},  // a repeated key joins its values
    };
    for (const auto& [text, name] : cases)
        EXPECT_EQ(ReadCatalogueName(dir.Write("c.ini", text)), name) << text;
    EXPECT_EQ(quillon::CataloguePath("null"), "./config/null");
}

// Run from the source tree, where ./config/all.xml exists: an empty key must
// not fall back to it.
TEST(ConfigFile, AnEmptyCatalogueKeyNamesNoFileAndTheLoadSaysSo)
{
    quillon::test::TempDir dir;
    for (const char* text : {"[Common]\nbspxml=\n", "[Common]\nbspxml =   \n"}) {
        SCOPED_TRACE(text);
        const std::string name = ReadCatalogueName(dir.Write("c.ini", text));
        EXPECT_EQ(name, "");
        quillon::CXmlReader reader;
        quillon::CatalogueLists lists;
        quillon::CatalogueTree tree;
        quillon::test::RecordingPrompt prompt;
        quillon::CatalogueLoader loader(reader, lists, tree, prompt);
        EXPECT_EQ(loader.LoadCatalogue(quillon::CataloguePath(name)), -1);
        EXPECT_EQ(prompt.Texts(), std::vector<std::string>{quillon::kCatalogueErrorText});
        EXPECT_TRUE(lists.treeNodes.empty());
        EXPECT_EQ(tree.Size(), 0u);
    }
}
