#include "app/ConfigFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using quillon::ReadCatalogueName;
using quillon::test::TempDir;

TEST(ConfigFile, MissingFileNamesTheDefaultCatalogue)
{
    TempDir dir;
    EXPECT_EQ(ReadCatalogueName((dir.Path() / "config.ini").string()), "all.xml");
}

TEST(ConfigFile, MissingKeyGivesNull)
{
    TempDir dir;
    EXPECT_EQ(ReadCatalogueName(dir.Write("a.ini", "[Common]\nother=1\n")), "null");
    EXPECT_EQ(ReadCatalogueName(dir.Write("b.ini", "[Other]\nbspxml=x.xml\n")), "null");
}

TEST(ConfigFile, SectionAndKeyIgnoreCaseAndBlanksAreTrimmed)
{
    TempDir dir;
    EXPECT_EQ(ReadCatalogueName(dir.Write("a.ini", "[COMMON]\nBSPXML  =   scanner.xml  \n")), "scanner.xml");
}

TEST(ConfigFile, RepeatedKeyJoinsValuesWithLineFeed)
{
    TempDir dir;
    EXPECT_EQ(ReadCatalogueName(dir.Write("a.ini", "[Common]\nbspxml=a.xml\nbspxml=b.xml\n")), "a.xml\nb.xml");
}

TEST(ConfigFile, CataloguePathFallsBackToAllXml)
{
    EXPECT_EQ(quillon::CataloguePath(""), "./config/all.xml");
    EXPECT_EQ(quillon::CataloguePath("null"), "./config/null");
}
