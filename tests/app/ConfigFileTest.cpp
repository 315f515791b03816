#include "app/ConfigFile.h"
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
        {"[COMMON]\nBSPXML  =   scanner.xml  \n", "scanner.xml"},  // names ignore case; blanks trimmed
        {"[Common]\nbspxml=a.xml\nbspxml=b.xml\n", "a.xml\nb.xml"},  // a repeated key joins its values
    };
    for (const auto& [text, name] : cases)
        EXPECT_EQ(ReadCatalogueName(dir.Write("c.ini", text)), name) << text;
    EXPECT_EQ(quillon::CataloguePath(""), "./config/all.xml");
    EXPECT_EQ(quillon::CataloguePath("null"), "./config/null");
}
