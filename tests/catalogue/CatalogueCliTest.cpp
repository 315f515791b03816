#include "support/ProgramRun.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>

namespace quillon {
namespace {

using Json = nlohmann::ordered_json;
using test::Quote;

// What the loader makes of a file is checked in CatalogueLoaderTest; here the
// real program: its JSON, its exit status and its messages.
test::ProgramRun RunCatalogue(const std::string& workDir, const std::string& args)
{
    return test::RunProgram("cd " + Quote(workDir) + " && " + Quote(QUILLON_CLI) + " catalogue " + args);
}

// Without an argument the file named in ./config/config.ini is loaded; a
// catalogue without command sections stops early, silently, with status 2.
// Key order is part of what is compared: the listing reads like the records.
TEST(CatalogueCommand, FollowsConfigurationFileAndPrintsEveryFieldAsJson)
{
    test::TempDir work;
    work.Write("config/config.ini", "[Common]\nbspxml = mine.xml\n");
    work.Write(
        "config/mine.xml",
        "<CODEBAR_APP><CODEBAR_SET><TYPE_INFO><TYPE_NAME>组</TYPE_NAME><SUB_TYPE_INFO><TYPE_NAME></TYPE_NAME>"
        "<ITEM_INFO><ITEM_NAME>设置</ITEM_NAME><PIDFID>4141</PIDFID><CMD_TYPE>21</CMD_TYPE><SUBITEM><SUBITEM_NAME>"
        "9600</SUBITEM_NAME><SUBITEM_CODE>03</SUBITEM_CODE><SUBITEM_INFO>说\"明\"</SUBITEM_INFO></SUBITEM><SUBITEM>"
        "<SUBITEM_NAME>4800</SUBITEM_NAME><SUBITEM_CODE>02</SUBITEM_CODE></SUBITEM></ITEM_INFO></SUB_TYPE_INFO>"
        "</TYPE_INFO></CODEBAR_SET></CODEBAR_APP>");
    const test::ProgramRun run = RunCatalogue(work.Path().string(), "");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(run.out.ends_with("}\n"));
    EXPECT_EQ(Json::parse(run.out), Json::parse(R"({
  "status": -1,
  "readerResult": "UTF-8 length 456 to 446 wide chars ",
  "tree": [
    {"text": "组", "image": 1, "selectedImage": 0, "data": 0, "children": [
      {"text": "设置", "image": 4, "selectedImage": 5, "data": 1, "children": [
        {"text": "9600", "image": 2, "selectedImage": 2, "data": 2, "children": []},
        {"text": "4800", "image": 2, "selectedImage": 2, "data": 3, "children": []}
      ]}
    ]}
  ],
  "treeNodes": [
    {"groupName": "", "name": "组", "info": "", "code": "", "level": 1, "cmdType": "", "pidFid": ""},
    {"groupName": "", "name": "设置", "info": "", "code": "", "level": 2, "cmdType": "21", "pidFid": "4141"},
    {"groupName": "", "name": "9600", "info": "说\"明\"", "code": "414103", "level": 3, "cmdType": "21", "pidFid": ""},
    {"groupName": "", "name": "4800", "info": "02", "code": "414102", "level": 3, "cmdType": "21", "pidFid": ""}
  ],
  "transDataCmds": [],
  "transPicCmds": [],
  "readCmds": [],
  "connectReadCmds": []
})"));
}

TEST(CatalogueCommand, PrintsTheBundledCatalogueWithItsCommands)
{
    const test::ProgramRun run = RunCatalogue(QUILLON_SOURCE_DIR, "");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    const Json catalogue = Json::parse(run.out);
    EXPECT_EQ(catalogue["status"], 0);
    EXPECT_TRUE(catalogue["readerResult"].get<std::string>().starts_with("UTF-8 length "));
    ASSERT_FALSE(catalogue["connectReadCmds"].empty());
    EXPECT_EQ(catalogue["connectReadCmds"][0]["name"], "联机握手");
    EXPECT_EQ(catalogue["connectReadCmds"][0]["code"], "1040");
    EXPECT_EQ(catalogue["transPicCmds"][0]["nodeIdFlag"], 1);
}

TEST(CatalogueCommand, BrokenFileReportsMessageAndPrintsEmptyLists)
{
    test::TempDir work;
    const std::string broken = work.Write("broken.xml", "<CODEBAR_APP><CODEBAR_SET></CODEBAR_APP>");
    for (const std::string& file : {broken, (work.Path() / "missing.xml").string()}) {
        SCOPED_TRACE(file);
        const test::ProgramRun run = RunCatalogue(work.Path().string(), Quote(file));
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err, "quillon-cli catalogue: " + file + ": 配置文件设置错误，无法完成初始化！\n");
        Json catalogue = Json::parse(run.out);
        EXPECT_EQ(catalogue["status"], -1);
        catalogue.erase("readerResult");
        EXPECT_EQ(catalogue, Json::parse(R"({"status": -1, "tree": [], "treeNodes": [], "transDataCmds": [],
                                             "transPicCmds": [], "readCmds": [], "connectReadCmds": []})"));
    }
}

}  // namespace
}  // namespace quillon
