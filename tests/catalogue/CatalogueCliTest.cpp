#include "catalogue/CatalogueLoader.h"
#include "catalogue/CatalogueTree.h"
#include "catalogue/XmlReader.h"
#include "cli/Json.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <sys/wait.h>

namespace quillon {
namespace {

// Checks that text is one JSON value and nothing else (RFC 8259 grammar).
class JsonChecker {
public:
    explicit JsonChecker(const std::string& text) : text_(text) {}

    bool Valid()
    {
        pos_ = 0;
        if (!Value())
            return false;
        Blanks();
        return pos_ == text_.size();
    }

private:
    void Blanks()
    {
        while (pos_ < text_.size() && std::string_view(" \t\r\n").find(text_[pos_]) != std::string_view::npos)
            ++pos_;
    }
    bool Eat(char c)
    {
        Blanks();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    bool Value()
    {
        Blanks();
        if (pos_ >= text_.size())
            return false;
        const char c = text_[pos_];
        if (c == '{')
            return Sequence('}', true);
        if (c == '[')
            return Sequence(']', false);
        if (c == '"')
            return String();
        for (const char* word : {"true", "false", "null"}) {
            if (text_.compare(pos_, std::strlen(word), word) == 0) {
                pos_ += std::strlen(word);
                return true;
            }
        }
        return Number();
    }
    bool Sequence(char close, bool object)
    {
        ++pos_;
        if (Eat(close))
            return true;
        do {
            if (object && !(Blanks(), String() && Eat(':')))
                return false;
            if (!Value())
                return false;
        } while (Eat(','));
        return Eat(close);
    }
    bool String()
    {
        if (pos_ >= text_.size() || text_[pos_] != '"')
            return false;
        for (++pos_; pos_ < text_.size(); ++pos_) {
            const auto c = static_cast<unsigned char>(text_[pos_]);
            if (c == '"') {
                ++pos_;
                return true;
            }
            if (c < 0x20)
                return false;
            if (c == '\\') {
                if (++pos_ >= text_.size())
                    return false;
                const char e = text_[pos_];
                if (e == 'u') {
                    for (int i = 0; i < 4; ++i) {
                        if (++pos_ >= text_.size() || !std::isxdigit(static_cast<unsigned char>(text_[pos_])))
                            return false;
                    }
                } else if (std::string_view("\"\\/bfnrt").find(e) == std::string_view::npos) {
                    return false;
                }
            }
        }
        return false;
    }
    bool Number()
    {
        const std::size_t start = pos_;
        if (pos_ < text_.size() && text_[pos_] == '-')
            ++pos_;
        const std::size_t digits = pos_;
        while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_])))
            ++pos_;
        return pos_ > digits && pos_ > start;
    }

    const std::string& text_;
    std::size_t pos_ = 0;
};

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string ShellQuote(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

CliRun RunCli(const std::string& workDir, const std::string& args, const test::TempDir& scratch)
{
    const std::string errFile = (scratch.Path() / "stderr.txt").string();
    const std::string command = "cd " + ShellQuote(workDir) + " && " + ShellQuote(QUILLON_CLI) + " catalogue "
                                + args + " 2>" + ShellQuote(errFile);
    CliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.out.append(buffer, n);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errFile, std::ios::binary);
    std::ostringstream errText;
    errText << err.rdbuf();
    run.err = errText.str();
    return run;
}

std::size_t Count(const std::string& text, const std::string& what)
{
    std::size_t count = 0;
    for (std::size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1))
        ++count;
    return count;
}

TEST(JsonString, EscapesQuotesBackslashesAndControlCharacters)
{
    const struct {
        std::string text;
        std::string json;
    } cases[] = {
        {"", "\"\""},
        {"plain text", "\"plain text\""},
        {"a\"b\\c/d", "\"a\\\"b\\\\c/d\""},
        {"\r\n\t\b\f", "\"\\r\\n\\t\\b\\f\""},
        {std::string("\x01\x1f\x7f", 3), "\"\\u0001\\u001f\x7f\""},
        {std::string("a\0b", 3), "\"a\\u0000b\""},
        {"配置码 \xe2\x80\xa8", "\"配置码 \xe2\x80\xa8\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cli::JsonString(c.text), c.json);
        EXPECT_TRUE(JsonChecker(cli::JsonString(c.text)).Valid()) << c.json;
    }
}

TEST(JsonChecker, RejectsBrokenJson)
{
    for (const char* text : {"", "{", "{\"a\" 1}", "[1,]", "\"a\nb\"", "{\"a\": [1, 2]} x", "\"\\x\""})
        EXPECT_FALSE(JsonChecker(text).Valid()) << text;
    for (const char* text : {"{}", "[]", "{\"a\": [1, -2, {\"b\": \"\\u00e9\"}], \"c\": null}"})
        EXPECT_TRUE(JsonChecker(text).Valid()) << text;
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
    ASSERT_EQ(CatalogueLoader(reader, lists, tree, prompt).LoadCatalogue(std::string(QUILLON_SOURCE_DIR) + "/config/all.xml"),
              0);
    EXPECT_NE(run.out.find("\"status\": 0,"), std::string::npos);
    EXPECT_NE(run.out.find("\"readerResult\": " + cli::JsonString(reader.GetResultText())), std::string::npos);
    EXPECT_EQ(Count(run.out, "\"selectedImage\": "), tree.Size());
    EXPECT_EQ(Count(run.out, "\"pidFid\": "), lists.treeNodes.size());
    EXPECT_EQ(Count(run.out, "\"nodeIdFlag\": "), lists.transDataCmds.size() + lists.transPicCmds.size()
                                                      + lists.readCmds.size() + lists.connectReadCmds.size());
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
    work.Write("config/mine.xml",
               "<CODEBAR_APP><CODEBAR_SET><TYPE_INFO><TYPE_NAME>仅此一组</TYPE_NAME></TYPE_INFO></CODEBAR_SET>"
               "</CODEBAR_APP>");
    const CliRun run = RunCli(work.Path().string(), "", work);
    // The command sections are missing: loading stopped early.
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "");
    ASSERT_TRUE(JsonChecker(run.out).Valid()) << run.out;
    EXPECT_NE(run.out.find("\"status\": -1,"), std::string::npos);
    EXPECT_NE(run.out.find("{\"text\": \"仅此一组\", \"image\": 1, \"selectedImage\": 0, \"data\": 0, \"children\": []}"),
              std::string::npos)
        << run.out;
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
}

TEST(CatalogueCommand, RefusesExtraArguments)
{
    test::TempDir work;
    const CliRun run = RunCli(work.Path().string(), "a.xml b.xml", work);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("usage"), std::string::npos);
}

}  // namespace
}  // namespace quillon
