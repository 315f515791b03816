#include "dialogs/FieldText.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(PrefillFromItemText, TakesWhatFollowsTheColonAndOneCharacter)
{
    struct Case {
        const char* item;
        const char* field;
    } cases[] = {
        {"触发超时: 3000", "3000"},
        {"x:y5", "5"},
        {":3000", ""},            // colon at the first position
        {"no colon", ""},
        {"name:", ""},            // nothing after the colon
        {"name: ", ""},
        {"a: b: c", "b: c"},      // only the first colon counts
        {"名称:中文值", "文值"},   // the skipped character may be a wide one
    };
    for (const Case& c : cases)
        EXPECT_EQ(PrefillFromItemText(c.item), c.field) << c.item;
}

TEST(ReadFieldNumber, DigitsAreDecimalOtherCharactersFoldInAsHexOrMinusOne)
{
    EXPECT_EQ(ReadFieldNumber(""), 0);
    EXPECT_EQ(ReadFieldNumber("0"), 0);
    EXPECT_EQ(ReadFieldNumber("65535"), 65535);
    EXPECT_EQ(ReadFieldNumber("007"), 7);
    EXPECT_EQ(ReadFieldNumber("1a"), 20);  // 1 * 10 + 10
    EXPECT_EQ(ReadFieldNumber("1x"), 9);   // 1 * 10 - 1
    EXPECT_EQ(ReadFieldNumber("-"), -1);
}

TEST(ReadFieldNumber, LongDigitStringsSaturateInsteadOfWrapping)
{
    // 2^64 + 5 would wrap to 5 in 64-bit arithmetic.
    EXPECT_GT(ReadFieldNumber("18446744073709551621"), 65535);
    EXPECT_GT(ReadFieldNumber(std::string(200, '9')), 65535);
}

TEST(ReadLeadingInteger, ReadsLikeAtoi)
{
    EXPECT_EQ(ReadLeadingInteger("15"), 15);
    EXPECT_EQ(ReadLeadingInteger(" 7x"), 7);
    EXPECT_EQ(ReadLeadingInteger("abc"), 0);
    EXPECT_EQ(ReadLeadingInteger("-1"), -1);
    EXPECT_GT(ReadLeadingInteger("4294967312"), 15);  // 2^32 + 16 must not become 16
}

TEST(LowWordHex, FourLowerCaseDigitsOfTheLowWord)
{
    EXPECT_EQ(LowWordHex(0), "0000");
    EXPECT_EQ(LowWordHex(3000), "0bb8");
    EXPECT_EQ(LowWordHex(65535), "ffff");
    EXPECT_EQ(LowWordHex(65536 + 0x12), "0012");
}

TEST(FieldTextHelpers, CountAndHex)
{
    EXPECT_EQ(CountUnits("abc"), 3u);
    EXPECT_EQ(CountUnits("中文"), 2u);
    EXPECT_TRUE(IsHexText("0123456789abcdefABCDEF"));
    EXPECT_FALSE(IsHexText("12G4"));
    EXPECT_FALSE(IsHexText("中"));
}

}  // namespace
}  // namespace quillon
