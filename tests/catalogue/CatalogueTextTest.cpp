#include "catalogue/CatalogueText.h"

#include <gtest/gtest.h>

#include <climits>

namespace quillon {
namespace {

TEST(CatalogueText, NodeIdFlagReadsLeadingDecimalNumber)
{
    const std::pair<const char*, std::int32_t> cases[] = {
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
        {"0x10", 0},
        {"99999999999", INT_MAX},
        {"-99999999999", INT_MIN},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(ParseNodeIdFlag(text), value) << "[" << text << "]";
}

TEST(CatalogueText, PidFidRulePrefixesShortAndForeignCodesAndLowerCasesTheKeyWhenComparing)
{
    // The loader's test runs the rule over the options of one setting.
    const struct {
        const char *pidFid, *code, *result, *pidFidAfter;
    } cases[] = {
        {"3186", "3186", "31863186", "3186"},  // exactly four characters: always prefixed
        {"3186", "31860000", "31860000", "3186"},
        {"3185", "31860000", "318531860000", "3185"},  // a neighbour's key is not the setting's
        {"ABCD", "ABCE01", "abcdABCE01", "abcd"},
        {"31850", "31850000", "3185031850000", "31850"},  // a longer key never equals four characters
        // Characters are UTF-16 units: four of them, so prefixed.
        {"\xe4\xb8\xad"
         "1",
         "\xe4\xb8\xad"
         "100",
         "\xe4\xb8\xad"
         "1\xe4\xb8\xad"
         "100",
         "\xe4\xb8\xad"
         "1"},
    };
    for (const auto& c : cases) {
        std::string key = c.pidFid;
        EXPECT_EQ(ApplyPidFidRule(key, c.code), c.result) << c.pidFid << " / " << c.code;
        EXPECT_EQ(key, c.pidFidAfter) << c.pidFid << " / " << c.code;
    }
}

}  // namespace
}  // namespace quillon
