#include "catalogue/CatalogueLoader.h"
#include "catalogue/CatalogueTree.h"
#include "catalogue/XmlReader.h"
#include "cli/Json.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <sys/wait.h>

namespace quillon {
namespace {

// Whether text is exactly one JSON value (RFC 8259 grammar).
class JsonChecker {
public:
    explicit JsonChecker(std::string_view text) : t_(text) {}
    bool Valid() { return Value() && (Blanks(), p_ == t_.size()); }

private:
    void Blanks() { p_ = std::min(t_.find_first_not_of(" \t\r\n", p_), t_.size()); }
    bool Eat(char c) { return Blanks(), p_ < t_.size() && t_[p_] == c && ++p_; }
    bool Value()
    {
        Blanks();
        if (Eat('{')) return Sequence('}', true);
        if (Eat('[')) return Sequence(']', false);
        if (p_ < t_.size() && t_[p_] == '"') return String();
        for (const std::string_view word : {"true", "false", "null"})
            if (t_.substr(p_, word.size()) == word) return p_ += word.size(), true;
        const std::size_t start = p_ += p_ < t_.size() && t_[p_] == '-';
        while (p_ < t_.size() && std::isdigit(static_cast<unsigned char>(t_[p_]))) ++p_;
        return p_ > start;
    }
    bool Sequence(char close, bool object)
    {
        if (Eat(close)) return true;
        do {
            if (object && !(Blanks(), String() && Eat(':'))) return false;
            if (!Value()) return false;
        } while (Eat(','));
        return Eat(close);
    }
    bool String()
    {
        if (p_ >= t_.size() || t_[p_] != '"') return false;
        for (++p_; p_ < t_.size(); ++p_) {
            const auto c = static_cast<unsigned char>(t_[p_]);
            if (c == '"') return ++p_, true;
            if (c < 0x20) return false;
            if (c != '\\') continue;
            if (++p_ >= t_.size()) return false;
            if (t_[p_] == 'u') {
                for (int i = 0; i < 4; ++i)
                    if (++p_ >= t_.size() || !std::isxdigit(static_cast<unsigned char>(t_[p_]))) return false;
            } else if (std::string_view("\"\\/bfnrt").find(t_[p_]) == std::string_view::npos) {
                return false;
            }
        }
        return false;
    }

    std::string_view t_;
    std::size_t p_ = 0;
};

struct CliRun {
    int exitCode = -1;
    std::string out, err;
};

std::string ShellQuote(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs `quillon-cli catalogue ARGS` in workDir.
CliRun RunCli(const std::string& workDir, const std::string& args, const test::TempDir& scratch)
{
    const std::string errFile = (scratch.Path() / "stderr.txt").string();
    CliRun run;
    FILE* pipe = popen(("cd " + ShellQuote(workDir) + " && " + ShellQuote(QUILLON_CLI) + " catalogue " + args + " 2>"
                        + ShellQuote(errFile)).c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ostringstream err;
    err << std::ifstream(errFile, std::ios::binary).rdbuf();
    run.err = err.str();
    return run;
}

std::size_t Count(const std::string& text, const std::string& what)
{
    std::size_t count = 0;
    for (std::size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1)) ++count;
    return count;
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
    for (const auto& [text, json] : cases) {
        EXPECT_EQ(cli::JsonString(text), json);
        EXPECT_TRUE(JsonChecker(json).Valid()) << json;
    }
    // The checker itself tells broken JSON.
    for (const char* text : {"", "{", "{\"a\" 1}", "[1,]", "\"a\nb\"", "{\"a\": [1, 2]} x", "\"\\x\"", "-"})
        EXPECT_FALSE(JsonChecker(text).Valid()) << text;
    EXPECT_TRUE(JsonChecker("{\"a\": [1, -2, {\"b\": \"\\u00e9\"}], \"c\": null, \"d\": []}").Valid());
}

TEST(CatalogueCommand, PrintsBundledCatalogueAsJson)
{
    test::TempDir scratch;
    const CliRun run = RunCli(QUILLON_SOURCE_DIR, "", scratch);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    ASSERT_TRUE(JsonChecker(run.out).Valid()) << run.out.substr(0, 2000);

    // The same figures as loading the file here.
    test::RecordingPrompt prompt;
    CXmlReader reader;
    CatalogueLists lists;
    CatalogueTree tree;
    const std::string path = std::string(QUILLON_SOURCE_DIR) + "/config/all.xml";
    ASSERT_EQ(CatalogueLoader(reader, lists, tree, prompt).LoadCatalogue(path), 0);
    EXPECT_NE(run.out.find("\"status\": 0,"), std::string::npos);
    EXPECT_NE(run.out.find("\"readerResult\": " + cli::JsonString(reader.GetResultText())), std::string::npos);
    EXPECT_EQ(Count(run.out, "\"selectedImage\": "), tree.Size());
    EXPECT_EQ(Count(run.out, "\"pidFid\": "), lists.treeNodes.size());
    EXPECT_EQ(Count(run.out, "\"nodeIdFlag\": "),
              lists.transDataCmds.size() + lists.transPicCmds.size() + lists.readCmds.size() + lists.connectReadCmds.size());
    EXPECT_NE(run.out.find("{\"name\": \"联机握手\", \"code\": \"1040\""), std::string::npos);
    // Records keep the group of their sub-group, and option codes appear as loaded.
    const auto& option = lists.treeNodes.at(2);
    EXPECT_NE(run.out.find("{\"groupName\": " + cli::JsonString(option.groupName) + ", \"name\": "
                           + cli::JsonString(option.name) + ", \"info\": " + cli::JsonString(option.info)
                           + ", \"code\": " + cli::JsonString(option.code) + ", \"level\": 3, \"cmdType\": \"21\""),
              std::string::npos);
}

TEST(CatalogueCommand, FollowsConfigurationFileWithoutArgument)
{
    test::TempDir work;
    work.Write("config/config.ini", "[Common]\nbspxml = mine.xml\n");
    work.Write("config/mine.xml", "<CODEBAR_APP><CODEBAR_SET><TYPE_INFO><TYPE_NAME>仅此一组</TYPE_NAME></TYPE_INFO>"
                                  "</CODEBAR_SET></CODEBAR_APP>");
    const CliRun run = RunCli(work.Path().string(), "", work);
    // The command sections are missing: loading stopped early.
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "");
    ASSERT_TRUE(JsonChecker(run.out).Valid()) << run.out;
    EXPECT_NE(run.out.find("\"status\": -1,"), std::string::npos);
    EXPECT_NE(run.out.find("{\"text\": \"仅此一组\", \"image\": 1, \"selectedImage\": 0, \"data\": 0, \"children\": []}"),
              std::string::npos) << run.out;
}

TEST(CatalogueCommand, BrokenFileReportsMessageAndPrintsEmptyLists)
{
    test::TempDir work;
    const std::string broken = work.Write("broken.xml", "<CODEBAR_APP><CODEBAR_SET></CODEBAR_APP>");
    for (const std::string& file : {broken, (work.Path() / "missing.xml").string()}) {
        SCOPED_TRACE(file);
        const CliRun run = RunCli(work.Path().string(), ShellQuote(file), work);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, "配置文件设置错误，无法完成初始化！\n");
        ASSERT_TRUE(JsonChecker(run.out).Valid()) << run.out;
        EXPECT_NE(run.out.find("\"status\": -1,"), std::string::npos);
        for (const char* list : {"tree", "treeNodes", "transDataCmds", "transPicCmds", "readCmds", "connectReadCmds"})
            EXPECT_NE(run.out.find(std::string("\"") + list + "\": []"), std::string::npos) << list;
    }
    const CliRun extra = RunCli(work.Path().string(), "a.xml b.xml", work);
    EXPECT_EQ(extra.exitCode, 2);
    EXPECT_EQ(extra.out, "");
    EXPECT_NE(extra.err.find("usage"), std::string::npos);
}

}  // namespace
}  // namespace quillon
