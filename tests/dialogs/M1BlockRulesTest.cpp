#include "dialogs/DialogTexts.h"
#include "dialogs/M1BlockRules.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

namespace t = dialog_texts;

M1BlockRules::Fields Fields(bool keyB, const char* sector, const char* block, const char* key)
{
    return {keyB, sector, block, key};
}

TEST(M1BlockRules, BuildsCommandBlockAndPaddedKey)
{
    struct Case {
        M1BlockRules::Fields fields;
        const char* command;
    } cases[] = {
        {Fields(false, "1", "2", "A0A1A2A3A4A5"), "6006A0A1A2A3A4A5"},
        {Fields(true, "15", "0", "ab12"), "613Cab1200000000"},
        {Fields(false, "0", "0", "FF"), "6000FF0000000000"},
        {Fields(false, "3abc", "1x", "ffffffffffff"), "600Dffffffffffff"},  // leading digits count
    };
    for (const Case& c : cases) {
        const DialogOutcome outcome = M1BlockRules::Accept(c.fields);
        ASSERT_TRUE(outcome.output) << c.command;
        EXPECT_EQ(outcome.output->text, c.command);
        EXPECT_EQ(outcome.output->text.size(), 16u);
    }
}

TEST(M1BlockRules, ChecksRunInOrderAndTheFirstFailureIsShown)
{
    struct Case {
        M1BlockRules::Fields fields;
        const char* message;
    } cases[] = {
        {Fields(false, "", "", ""), t::kM1SectorEmpty},
        {Fields(false, "16", "", ""), t::kM1SectorWrong},
        {Fields(false, "-1", "0", "FF"), t::kM1SectorWrong},
        {Fields(false, "4294967311", "0", "FF"), t::kM1SectorWrong},
        {Fields(false, "15", "", ""), t::kM1BlockEmpty},
        {Fields(false, "15", "3", "FF"), t::kM1BlockWrong},
        {Fields(false, "15", "-1", "FF"), t::kM1BlockWrong},
        {Fields(false, "15", "2", ""), t::kM1KeyFormat},
        {Fields(false, "15", "2", "ABC"), t::kM1KeyFormat},
        {Fields(false, "15", "2", "A0A1A2A3A4A5A6"), t::kM1KeyFormat},
        {Fields(false, "15", "2", "A0A1A2A3A4AG"), t::kIllegalHex},
        {Fields(false, "15", "2", "中文"), t::kIllegalHex},
    };
    for (const Case& c : cases) {
        const DialogOutcome outcome = M1BlockRules::Accept(c.fields);
        EXPECT_FALSE(outcome.output) << c.message;
        EXPECT_EQ(outcome.message, c.message);
        EXPECT_FALSE(outcome.emptyField);
    }
}

}  // namespace
}  // namespace quillon
