#include "cli/Json.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>

namespace quillon {
namespace {

// What the loader makes of a file is checked in CatalogueLoaderTest; here the
// real program: its JSON, its exit status and its messages.
struct CliRun {
    int exitCode = -1;
    std::string out, err;
};

std::string Quote(const std::string& text) { return "'" + text + "'"; }

// Runs `quillon-cli catalogue ARGS` in workDir.
CliRun RunCli(const std::string& workDir, const std::string& args)
{
    const test::TempDir scratch;
    const std::string errFile = (scratch.Path() / "stderr.txt").string();
    CliRun run;
    FILE* pipe = popen(("cd " + Quote(workDir) + " && " + Quote(QUILLON_CLI) + " catalogue " + args
                        + " 2>" + Quote(errFile)).c_str(), "r");
    char buffer[4096];
    for (std::size_t n; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
    const int status = pipe ? pclose(pipe) : -1;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err.assign(std::istreambuf_iterator<char>(std::ifstream(errFile, std::ios::binary).rdbuf()), {});
    return run;
}

TEST(JsonString, EscapesQuotesBackslashesAndControlCharacters)
{
    const std::pair<std::string, std::string> cases[] = {
        {"", "\"\""},
        {"a\"b\\c/d", "\"a\\\"b\\\\c/d\""},
        {"\r\n\t\b\f", "\"\\r\\n\\t\\b\\f\""},
        {std::string("\x01\x1f\x7f\0", 4), "\"\\u0001\\u001f\x7f\\u0000\""},
        {"配置码 \xe2\x80\xa8", "\"配置码 \xe2\x80\xa8\""},
    };
    for (const auto& [text, json] : cases)
        EXPECT_EQ(cli::JsonString(text), json);
}

// Without an argument the file named in ./config/config.ini is loaded; a
// catalogue without command sections stops early, silently, with status 1.
TEST(CatalogueCommand, FollowsConfigurationFileAndPrintsEveryFieldAsJson)
{
    test::TempDir work;
    work.Write("config/config.ini", "[Common]\nbspxml = mine.xml\n");
    work.Write("config/mine.xml",
               "<CODEBAR_APP><CODEBAR_SET><TYPE_INFO><TYPE_NAME>组</TYPE_NAME><SUB_TYPE_INFO><TYPE_NAME></TYPE_NAME>"
               "<ITEM_INFO><ITEM_NAME>设置</ITEM_NAME><PIDFID>4141</PIDFID><CMD_TYPE>21</CMD_TYPE><SUBITEM><SUBITEM_NAME>"
               "9600</SUBITEM_NAME><SUBITEM_CODE>03</SUBITEM_CODE><SUBITEM_INFO>说\"明\"</SUBITEM_INFO></SUBITEM><SUBITEM>"
               "<SUBITEM_NAME>4800</SUBITEM_NAME><SUBITEM_CODE>02</SUBITEM_CODE></SUBITEM></ITEM_INFO></SUB_TYPE_INFO>"
               "</TYPE_INFO></CODEBAR_SET></CODEBAR_APP>");
    const CliRun run = RunCli(work.Path().string(), "");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, R"({
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
}
)");
}

TEST(CatalogueCommand, PrintsTheBundledCatalogueWithItsCommands)
{
    const CliRun run = RunCli(QUILLON_SOURCE_DIR, "");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(run.out.starts_with("{\n  \"status\": 0,\n  \"readerResult\": \"UTF-8 length ")) << run.out.substr(0, 200);
    EXPECT_NE(run.out.find("\"connectReadCmds\": [\n    {\"name\": \"联机握手\", \"code\": \"1040\", \"info\": \""),
              std::string::npos);
    EXPECT_NE(run.out.find("\"nodeIdFlag\": 1},\n    {\"name\": \""), std::string::npos);
}

TEST(CatalogueCommand, BrokenFileReportsMessageAndPrintsEmptyLists)
{
    test::TempDir work;
    const std::string broken = work.Write("broken.xml", "<CODEBAR_APP><CODEBAR_SET></CODEBAR_APP>");
    for (const std::string& file : {broken, (work.Path() / "missing.xml").string()}) {
        SCOPED_TRACE(file);
        const CliRun run = RunCli(work.Path().string(), Quote(file));
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, "配置文件设置错误，无法完成初始化！\n");
        EXPECT_TRUE(run.out.starts_with("{\n  \"status\": -1,\n  \"readerResult\": \"")) << run.out;
        EXPECT_TRUE(run.out.ends_with("\",\n  \"tree\": [],\n  \"treeNodes\": [],\n  \"transDataCmds\": [],\n"
                                      "  \"transPicCmds\": [],\n  \"readCmds\": [],\n  \"connectReadCmds\": []\n}\n"))
            << run.out;
    }
    const CliRun extra = RunCli(work.Path().string(), "a.xml b.xml");
    EXPECT_EQ(extra.exitCode, 2);
    EXPECT_EQ(extra.out, "");
    EXPECT_NE(extra.err.find("usage"), std::string::npos);
}

}  // namespace
}  // namespace quillon
