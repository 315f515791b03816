#include "dialogs/DialogTexts.h"
#include "document/AddStrRules.h"

#include <gtest/gtest.h>

#include <string>

namespace quillon {
namespace {

namespace t = dialog_texts;

AddStrRules::Fields Fields(std::string text, bool tab = false, bool lineBreak = false, bool hex = false)
{
    return {std::move(text), tab, lineBreak, hex};
}

TEST(AddStrRules, OpeningReadsTheMessageAndEscapesFromTheItemText)
{
    struct Case {
        const char* initial;
        const char* text;
        bool tab;
        bool lineBreak;
    } cases[] = {
        {"前缀: ABC\\t", "ABC", true, false},
        {"前缀: ABC\\r\\n", "ABC", false, true},
        {"前缀: ABC\\t\\r\\n", "ABC", true, true},
        {"前缀: ABC", "ABC", false, false},
        {"前缀", "", false, false},
        {":ABC", "", false, false},          // colon at the first position
        {"\\tname: X", "X", false, false},  // escape and backslash at the first position
        {"a\\b: X", "", false, false},       // backslash before the colon
        {"名称: 中文", "中文", false, false},
    };
    for (const Case& c : cases) {
        AddStrRules rules;
        rules.SetInitialText(c.initial);
        const AddStrRules::Fields opening = rules.Opening();
        EXPECT_EQ(opening.text, c.text) << c.initial;
        EXPECT_EQ(opening.tab, c.tab) << c.initial;
        EXPECT_EQ(opening.lineBreak, c.lineBreak) << c.initial;
        EXPECT_FALSE(opening.hex);
    }
}

struct AcceptCase {
    AddStrRules::Fields fields;
    // Empty message: accepted with text and hex.
    const char* message;
    std::string text;
    bool hex;
    bool emptied;
};

TEST(AddStrRules, AcceptAppendsLimitsAndChecks)
{
    const std::string forty(40, 'a');
    const std::string hex80(80, 'A');
    const AcceptCase cases[] = {
        {Fields("ABC"), "", "ABC", false, false},
        {Fields("ABC", true, true), "", "ABC\t\r\n", false, false},
        {Fields(""), "", "", false, false},
        {Fields("", false, false, true), "", "", false, false},  // empty hex falls back to text
        {Fields(std::string(39, 'a'), true), "", std::string(39, 'a') + "\t", false, false},
        {Fields(forty), "", forty, false, false},
        {Fields(forty, true), t::kAddStrTooLong, "", false, true},
        {Fields(std::string(41, 'a')), t::kAddStrTooLong, "", false, true},
        {Fields("\x01\x7f\xc3\xa9"), "", "\x01\x7f\xc3\xa9", false, false},  // below 256, é included
        {Fields("中"), t::kAddStrNotAscii, "", false, true},
        {Fields("a中", false, false, false), t::kAddStrNotAscii, "", false, true},
        {Fields(hex80, false, false, true), "", hex80, true, false},
        {Fields(hex80 + "00", false, false, true), t::kAddStrTooLong, "", true, true},
        {Fields("ABC", false, false, true), t::kAddStrHexLength, "", true, false},
        {Fields("ABCG", false, false, true), t::kIllegalHex, "", true, false},
        {Fields("\xc3\xa9", false, false, true), t::kAddStrHexLength, "", true, false},  // é is one character
        {Fields("0a1B", true, true, true), "", "0a1B090D0A", true, false},
        {Fields("", true, false, true), "", "09", true, false},
        {Fields(std::string(78, '1'), true, false, true), "", std::string(78, '1') + "09", true, false},
        {Fields(std::string(78, '1'), true, true, true), t::kAddStrTooLong, "", true, true},
    };
    for (const AcceptCase& c : cases) {
        AddStrRules rules;
        const DialogOutcome outcome = rules.Accept(c.fields);
        SCOPED_TRACE("text '" + c.fields.text + "'");
        if (*c.message == '\0') {
            ASSERT_TRUE(outcome.output);
            EXPECT_EQ(outcome.output->text, c.text);
            EXPECT_EQ(outcome.output->hex, c.hex);
            EXPECT_EQ(rules.ResultText(), c.text);
        } else {
            EXPECT_FALSE(outcome.output);
            EXPECT_EQ(outcome.message, c.message);
            EXPECT_EQ(outcome.emptyField, c.emptied);
        }
        EXPECT_EQ(rules.IsHex(), c.hex);
    }
}

}  // namespace
}  // namespace quillon
