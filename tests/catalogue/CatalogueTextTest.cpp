#include "catalogue/CatalogueText.h"

#include <gtest/gtest.h>

#include <climits>

namespace quillon {
namespace {

TEST(CatalogueText, TrimBlanksStripsBlanksTabsAndLineBreaksAtBothEnds)
{
    const struct {
        const char* text;
        const char* trimmed;
    } cases[] = {
        {"", ""},
        {" \t\r\n", ""},
        {"  读码 模式 \t", "读码 模式"},
        {"\r\nA\n", "A"},
        {"\vA\f", "\vA\f"},  // only the four blank characters are stripped
    };
    for (const auto& c : cases)
        EXPECT_EQ(TrimBlanks(c.text), c.trimmed) << "text: [" << c.text << "]";
}

TEST(CatalogueText, NodeIdFlagReadsLeadingDecimalNumber)
{
    const struct {
        const char* text;
        std::int32_t value;
    } cases[] = {
        {"1", 1},
        {" 1", 1},
        {"\t\n 1", 1},
        {"1a", 1},
        {"12abc3", 12},
        {"abc", 0},
        {"", 0},
        {"+7", 7},
        {"-3", -3},
        {"- 3", 0},
        {"--3", 0},
        {"0x10", 0},
        {"2147483647", INT_MAX},
        {"99999999999", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-99999999999", INT_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseNodeIdFlag(c.text), c.value) << "text: [" << c.text << "]";
}

TEST(CatalogueText, PidFidRulePrefixesShortAndForeignCodesAndLowerCasesTheKeyOnceCompared)
{
    std::string pidFid = "0A1B";
    // Too short to compare: prefixed with the key as written.
    EXPECT_EQ(ApplyPidFidRule(pidFid, "0100"), "0A1B0100");
    EXPECT_EQ(pidFid, "0A1B");
    // Starts with the key in another case: kept, and the key is now lower case.
    EXPECT_EQ(ApplyPidFidRule(pidFid, "0a1b0200"), "0a1b0200");
    EXPECT_EQ(pidFid, "0a1b");
    EXPECT_EQ(ApplyPidFidRule(pidFid, "05"), "0a1b05");
    EXPECT_EQ(ApplyPidFidRule(pidFid, "0A1B03"), "0A1B03");
}

TEST(CatalogueText, PidFidRuleEdgeCases)
{
    const struct {
        const char* pidFid;
        const char* code;
        const char* result;
        const char* pidFidAfter;
    } cases[] = {
        {"3186", "", "3186", "3186"},
        {"3186", "3186", "31863186", "3186"},            // exactly four characters: always prefixed
        {"3186", "31860000", "31860000", "3186"},
        {"3185", "31860000", "318531860000", "3185"},    // a neighbour's key is not the setting's
        {"ABCD", "abcd01", "abcd01", "abcd"},
        {"ABCD", "ABCE01", "abcdABCE01", "abcd"},
        {"31850", "31850000", "3185031850000", "31850"}, // a longer key never equals four characters
        {"", "123456", "123456", ""},
        {"\xe4\xb8\xad" "1", "\xe4\xb8\xad" "1" "00", "\xe4\xb8\xad" "1" "\xe4\xb8\xad" "100", "\xe4\xb8\xad" "1"},
    };
    for (const auto& c : cases) {
        std::string pidFid = c.pidFid;
        EXPECT_EQ(ApplyPidFidRule(pidFid, c.code), c.result) << c.pidFid << " / " << c.code;
        EXPECT_EQ(pidFid, c.pidFidAfter) << c.pidFid << " / " << c.code;
    }
}

}  // namespace
}  // namespace quillon
