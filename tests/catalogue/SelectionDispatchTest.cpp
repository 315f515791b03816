#include "catalogue/SelectionDispatch.h"

#include <gtest/gtest.h>

#include <ostream>

namespace quillon {
namespace {

struct ChoiceCase {
    const char* code;
    ParameterDialog dialog;
    int mode;
    bool optionText;
};

void PrintTo(const ChoiceCase& c, std::ostream* os)
{
    *os << '"' << c.code << '"';
}

class DialogChoiceTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(DialogChoiceTest, KeyPicksDialogModeAndOptionText)
{
    const ChoiceCase& c = GetParam();
    const DialogChoice choice = ChooseParameterDialog(c.code);
    EXPECT_EQ(choice.dialog, c.dialog) << c.code;
    EXPECT_EQ(choice.mode, c.mode) << c.code;
    EXPECT_EQ(choice.passOptionText, c.optionText) << c.code;
}

using enum ParameterDialog;

INSTANTIATE_TEST_SUITE_P(EveryKey, DialogChoiceTest, ::testing::Values(
    ChoiceCase{"45CE00", M1Block, -1, false},
    ChoiceCase{"51C1", AddStr, -1, true},
    ChoiceCase{"51c2", AddStr, -1, true},
    ChoiceCase{"51D1ff", AddStr, -1, true},
    ChoiceCase{"51d2", AddStr, -1, true},
    ChoiceCase{"31C4", MbcSpStr, -1, true},
    ChoiceCase{"318100", CodeNum, -1, true},
    ChoiceCase{"3183", McbTimeout, -1, false},
    ChoiceCase{"3185", MbcStrOrder, -1, true},
    ChoiceCase{"3186", MbcStrOrder, -1, true},
    ChoiceCase{"3187", MbcStrOrder, -1, true},
    ChoiceCase{"3188", MbcStrOrder, -1, true},
    ChoiceCase{"3189", MbcStrOrder, -1, true},
    ChoiceCase{"318a", MbcStrOrder, -1, true},
    ChoiceCase{"6182", ExTimeSet, 0, true},
    ChoiceCase{"618A", ExTimeSet, 1, true},
    ChoiceCase{"6188", ExTimeSet, 2, true},
    ChoiceCase{"7181", SpeedSet, -1, true},
    ChoiceCase{"6482", DiffResultTime, 0, false},
    ChoiceCase{"6481", DiffResultTime, 1, false},
    ChoiceCase{"4591", DiffResultTime, 3, false},
    ChoiceCase{"4592", DiffResultTime, 4, false},
    ChoiceCase{"5083", DiffResultTime, 5, false},
    ChoiceCase{"5084", DiffResultTime, 6, false},
    ChoiceCase{"5042", DiffResultTime, 7, false},
    // Neighbours of the listed keys and broken codes take no value.
    ChoiceCase{"318B", None, -1, false},
    ChoiceCase{"3184", None, -1, false},
    ChoiceCase{"51C3", None, -1, false},
    ChoiceCase{"6181", None, -1, false},
    ChoiceCase{"45CF", None, -1, false},
    ChoiceCase{"5043", None, -1, false},
    ChoiceCase{"0000", None, -1, false},
    ChoiceCase{"50", None, -1, false},
    ChoiceCase{"", None, -1, false},
    ChoiceCase{"zz42", None, -1, false}));

TEST(CodeByteTest, ReadsTwoHexDigitsUpToTheFirstOther)
{
    EXPECT_EQ(CodeByte("51C1", 0), 0x51);
    EXPECT_EQ(CodeByte("51C1", 2), 0xC1);
    EXPECT_EQ(CodeByte("51c", 2), 0x0C);
    EXPECT_EQ(CodeByte("51", 2), 0);
    EXPECT_EQ(CodeByte("5g", 0), 5);
    EXPECT_EQ(CodeByte("g5", 0), 0);
}

TEST(Hex16NormaliseTest, FourUpperCaseDigitsModulo65536)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", "0000"},      {"5", "0005"},        {"0005", "0005"}, {"00012", "0012"},
        {"abc", "0ABC"},   {"FfFf", "FFFF"},     {"12345", "2345"}, {"1ffff", "FFFF"},
        {"10000", "0000"}, {"12g4", "FFFF"},     {"g", "FFFF"},    {" 12", "FFFF"},
        {"-1", "FFFF"},    {"0000000001", "0001"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(Hex16Normalise(in), out) << '"' << in << '"';
}

TEST(CharacterCountTest, CountsUtf16Units)
{
    EXPECT_EQ(CharacterCount(""), 0);
    EXPECT_EQ(CharacterCount("abc"), 3);
    EXPECT_EQ(CharacterCount("条码"), 2);
    EXPECT_EQ(CharacterCount("\xF0\x9F\x98\x80"), 2);  // outside the BMP: a surrogate pair
}

struct ValueCase {
    const char* name;
    ParameterDialog dialog;
    DialogOutput output;
    ValueTriple expected;
    std::string caption;
};

void PrintTo(const ValueCase& c, std::ostream* os)
{
    *os << c.name;
}

class AppliedValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(AppliedValueTest, TripleAndCaption)
{
    const ValueCase& c = GetParam();
    const AppliedValue applied = BuildAppliedValue(c.dialog, c.output);
    EXPECT_EQ(applied.value.valueText, c.expected.valueText);
    EXPECT_EQ(applied.value.valueLength, c.expected.valueLength);
    EXPECT_EQ(applied.value.valueKind, c.expected.valueKind);
    EXPECT_EQ(applied.captionText, c.caption);
}

DialogOutput Text(std::string text, bool hex = false, std::string caption = {})
{
    DialogOutput out;
    out.text = std::move(text);
    out.hex = hex;
    out.captionText = std::move(caption);
    return out;
}

DialogOutput Number(long n)
{
    DialogOutput out;
    out.number = n;
    return out;
}

INSTANTIATE_TEST_SUITE_P(EveryDialog, AppliedValueTest, ::testing::Values(
    ValueCase{"NoDialog", None, Text("ignored"), {"", 0, 0}, ""},
    ValueCase{"M1Block", M1Block, Text("0102030405"), {"0102030405", 5, 3}, ""},
    ValueCase{"AddStrHex", AddStr, Text("414243", true), {"414243", 3, 3}, ""},
    ValueCase{"AddStrText", AddStr, Text("AB条码"), {"AB条码", 4, 1}, ""},
    ValueCase{"Separator", MbcSpStr, Text(",;"), {",;", 2, 1}, ""},
    ValueCase{"CountFive", CodeNum, Number(5), {"0005", 2, 2}, ""},
    ValueCase{"CountTwelveDecimalDigits", CodeNum, Number(12), {"0012", 2, 2}, ""},
    ValueCase{"Timeout", McbTimeout, Text("1f4"), {"01F4", 2, 2}, ""},
    ValueCase{"TimeoutBad", McbTimeout, Text("1x"), {"FFFF", 2, 2}, ""},
    ValueCase{"OrderInHex", MbcStrOrder, Number(26), {"001A", 2, 2}, ""},
    ValueCase{"OrderLarge", MbcStrOrder, Number(0x12345), {"2345", 2, 2}, ""},
    ValueCase{"ExposureTime", ExTimeSet, Text("64"), {"0064", 2, 2}, ""},
    ValueCase{"SpeedAsTyped", SpeedSet, Text("0960"), {"0960", 2, 2}, ""},
    ValueCase{"Interval", DiffResultTime, Text("03E8", false, "1000ms"), {"03E8", 2, 2}, "1000ms"}),
    [](const ::testing::TestParamInfo<ValueCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quillon
