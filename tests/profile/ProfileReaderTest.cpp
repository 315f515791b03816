#include "profile/ProfileReader.h"
#include "profile/BundledCatalogue.h"
#include "profile/JsonLines.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace quillon {
namespace {

class ProfileReaderTest : public ::testing::Test {
protected:
    ProfileRead Parse(const std::string& text)
    {
        return ParseProfile("p.json", text, catalogue.doc.catalogue.treeNodes);
    }

    test::BundledCatalogue catalogue;
};

std::string Profile(const std::string& settings)
{
    return "{\n  \"format\": \"quillon-profile\",\n  \"version\": 1,\n  \"settings\": [\n" + settings + "\n  ]\n}\n";
}

// A valid first setting, so a refusal further down shows nothing half-read.
const std::string kGood = "    {\"code\": \"414100\"},\n";

struct Refused {
    const char* name;
    std::string text;
    std::string message;  // the whole message: file, line, reason
};

TEST_F(ProfileReaderTest, EveryFaultRefusesTheWholeFileNamingFileLineAndReason)
{
    ASSERT_EQ(catalogue.status, 0);
    const Refused cases[] = {
        {"not UTF-8", "{\n  \"format\": \"quillon-\xff\"\n}", "p.json:2: not UTF-8 text (byte 23)"},
        {"overlong UTF-8", "{\n\n \"a\": \"\xc0\xaf\"}", "p.json:3: not UTF-8 text (byte 10)"},
        {"surrogate in UTF-8", "{\"a\": \"\xed\xa0\x80\"}", "p.json:1: not UTF-8 text (byte 7)"},
        {"not JSON", "{\n  \"format\": \"quillon-profile\",\n  \"version\" 1\n}",
         "p.json:3: not JSON: syntax error while parsing object separator - unexpected number literal; "
         "expected ':'"},
        {"not an object", "[\n]", "p.json:1: a profile is a JSON object"},
        {"another format", "{\n  \"format\": \"other\",\n  \"version\": 1,\n  \"settings\": []\n}",
         "p.json:2: not a profile: \"format\" must be \"quillon-profile\""},
        {"no format", "{\n  \"version\": 1,\n  \"settings\": []\n}",
         "p.json:1: not a profile: \"format\" must be \"quillon-profile\""},
        {"a later version", "{\n  \"format\": \"quillon-profile\",\n  \"version\": 2,\n  \"settings\": []\n}",
         "p.json:3: unknown profile version 2; this program reads version 1"},
        {"a version as text", "{\n  \"format\": \"quillon-profile\",\n  \"version\": \"1\",\n  \"settings\": []\n}",
         "p.json:3: unknown profile version \"1\"; this program reads version 1"},
        {"no version", "{\n  \"format\": \"quillon-profile\",\n  \"settings\": []\n}",
         "p.json:1: unknown profile version (none); this program reads version 1"},
        {"an unknown key",
         "{\n  \"format\": \"quillon-profile\",\n  \"version\": 1,\n  \"extra\": 0,\n  \"settings\": []\n}",
         "p.json:4: unknown key \"extra\""},
        {"settings not a list", "{\n  \"format\": \"quillon-profile\",\n  \"version\": 1,\n  \"settings\": {}\n}",
         "p.json:4: \"settings\" must be a list"},
        {"a setting not an object", Profile(kGood + "    7"), "p.json:6: a setting must be an object"},
        {"a setting without code", Profile(kGood + "    {\"value\": \"1\"}"), "p.json:6: a setting without \"code\""},
        {"an empty code", Profile(kGood + "    {\"code\": \"\"}"), "p.json:6: a setting without \"code\""},
        {"an unknown key in a setting", Profile(kGood + "    {\"code\": \"614100\", \"colour\": \"red\"}"),
         "p.json:6: unknown key \"colour\" in a setting"},
        {"a value not text", Profile(kGood + "    {\"code\": \"61820000\", \"value\": 3000}"),
         "p.json:6: \"value\" must be a text"},
        {"an option the catalogue lacks", Profile(kGood + "    {\"code\": \"ZZ9900\"}"),
         "p.json:6: no option with code ZZ9900 in the catalogue"},
        {"a value the dialog refuses", Profile(kGood + "    {\"code\": \"61820000\", \"value\": \"70000\"}"),
         "p.json:6: option 61820000 refuses the value \"70000\": 触发超时超过最大限制！"},
        {"a count the dialog refuses", Profile(kGood + "    {\"code\": \"31810000\", \"value\": \"-1\"}"),
         "p.json:6: option 31810000 refuses the value \"-1\": 条码输出个数超限最大限制！"},
        {"a missing value", Profile(kGood + "    {\"code\": \"61820000\"}"),
         "p.json:6: option 61820000: 该选项需要参数，请写成 代码=参数"},
        {"a value for an option without dialog", Profile(kGood + "    {\"code\": \"614100\", \"value\": \"1\"}"),
         "p.json:6: option 614100 takes no value"},
        {"a duplicate", Profile(kGood + "    {\"code\": \"614100\"},\n\n    {\"code\": \"414100\"}"),
         "p.json:8: option 414100 is already set on line 5"},
        {"two options of one setting", Profile(kGood + "    {\"code\": \"414101\"}"),
         "p.json:6: option 414101 and option 414100 on line 5 are options of one setting; keep one of them"},
        {"a value and a preset of one setting",
         Profile(kGood +
                 "    {\"code\": \"51C10000\", \"value\": \"AB\"},\n    {\"code\": \"51C1000123\", \"value\": \"CD\"}"),
         "p.json:7: option 51C1000123 and option 51C10000 on line 6 are options of one setting; keep one of them"},
        {"letters in a number", Profile(kGood + "    {\"code\": \"61820000\", \"value\": \"12abc\"}"),
         "p.json:6: option 61820000 refuses the value \"12abc\": 触发超时超过最大限制！"},
    };
    for (const Refused& refused : cases) {
        const ProfileRead read = Parse(refused.text);
        EXPECT_EQ(read.error, refused.message) << refused.name;
        EXPECT_TRUE(read.settings.empty()) << refused.name;
    }
}

TEST_F(ProfileReaderTest, AcceptsSettingsWithTheirValuesAndLines)
{
    ASSERT_EQ(catalogue.status, 0);
    const ProfileRead read =
        Parse(Profile(kGood + "    {\n      \"code\": \"61820000\",\n      \"value\": \"3000\"\n    }"));
    ASSERT_EQ(read.error, "");
    ASSERT_EQ(read.settings.size(), 2u);
    EXPECT_EQ(read.settings[0].code, "414100");
    EXPECT_EQ(read.settings[0].value, std::nullopt);
    EXPECT_EQ(read.settings[0].line, 5);
    EXPECT_EQ(read.settings[1].value, std::optional<std::string>("3000"));
    EXPECT_EQ(read.settings[1].line, 6);
}

TEST_F(ProfileReaderTest, FilesTooLargeOrMissingAreRefusedBeforeReading)
{
    const test::TempDir dir;
    const std::string text = Profile("    {\"code\": \"414100\"}");
    const std::string path = dir.Write("big.json", text);
    const auto size = std::to_string(text.size());
    EXPECT_EQ(ReadProfile(path, catalogue.doc.catalogue.treeNodes, 10).error,
              path + ":0: " + size + " bytes, more than a profile may have (10)");
    EXPECT_EQ(ReadProfile(path, catalogue.doc.catalogue.treeNodes).error, "");
    const std::string missing = (dir.Path() / "none.json").string();
    EXPECT_EQ(ReadProfile(missing, catalogue.doc.catalogue.treeNodes).error.rfind(missing + ":0: cannot be read", 0),
              0u);
}

TEST(JsonLinesTest, FindsWhereEachSettingBegins)
{
    struct Case {
        const char* json;
        std::vector<int> lines;
    };
    const Case cases[] = {
        {R"({"settings": []})", {}},
        {"{\"settings\": [\n{},\n{}\n]}", {2, 3}},
        {"{\"a\": [1, 2],\n \"settings\": [\"x]\", \n\n 5]}", {2, 4}},
        {"{\"settings\": [[1,\n 2], {\"k\": [3]}\n], \"b\": [9]}", {1, 2}},
        {"{\"s\\\"settings\": [1], \"settings\":\n[\n 2]}", {3}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ArrayElementLines(c.json, "settings"), c.lines) << c.json;
}

}  // namespace
}  // namespace quillon
