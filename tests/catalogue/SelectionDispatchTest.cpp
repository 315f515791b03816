#include "catalogue/SelectionDispatch.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

using enum ParameterDialog;

TEST(DialogChoiceTest, KeyPicksDialogModeAndOptionText)
{
    const struct {
        const char* code;
        ParameterDialog dialog;
        int mode;
        bool optionText;
    } cases[] = {
        {"45CE00", M1Block, -1, false},
        {"51C1", AddStr, -1, true},
        {"51c2", AddStr, -1, true},
        {"51D1ff", AddStr, -1, true},
        {"51d2", AddStr, -1, true},
        {"31C4", MbcSpStr, -1, true},
        {"318100", CodeNum, -1, true},
        {"3183", McbTimeout, -1, false},
        {"3185", MbcStrOrder, -1, true},
        {"3186", MbcStrOrder, -1, true},
        {"3187", MbcStrOrder, -1, true},
        {"3188", MbcStrOrder, -1, true},
        {"3189", MbcStrOrder, -1, true},
        {"318a", MbcStrOrder, -1, true},
        {"6182", ExTimeSet, 0, true},
        {"618A", ExTimeSet, 1, true},
        {"6188", ExTimeSet, 2, true},
        {"7181", SpeedSet, -1, true},
        {"6482", DiffResultTime, 0, false},
        {"6481", DiffResultTime, 1, false},
        {"4591", DiffResultTime, 3, false},
        {"4592", DiffResultTime, 4, false},
        {"5083", DiffResultTime, 5, false},
        {"5084", DiffResultTime, 6, false},
        {"5042", DiffResultTime, 7, false},
        // Neighbours of the listed keys and broken codes take no value.
        {"318B", None, -1, false},
        {"3184", None, -1, false},
        {"51C3", None, -1, false},
        {"6181", None, -1, false},
        {"45CF", None, -1, false},
        {"5043", None, -1, false},
        {"0000", None, -1, false},
        {"50", None, -1, false},
        {"", None, -1, false},
        {"zz42", None, -1, false},
    };
    for (const auto& c : cases) {
        const DialogChoice choice = ChooseParameterDialog(c.code);
        EXPECT_EQ(choice.dialog, c.dialog) << c.code;
        EXPECT_EQ(choice.mode, c.mode) << c.code;
        EXPECT_EQ(choice.passOptionText, c.optionText) << c.code;
    }
}

TEST(CodeByteTest, ReadsTwoHexDigitsUpToTheFirstOther)
{
    const std::tuple<const char*, std::size_t, int> cases[] = {{"51C1", 0, 0x51}, {"51C1", 2, 0xC1}, {"51c", 2, 0x0C},
                                                               {"51", 2, 0},      {"5g", 0, 5},      {"g5", 0, 0}};
    for (const auto& [code, at, byte] : cases)
        EXPECT_EQ(CodeByte(code, at), byte) << code << " at " << at;
}

TEST(Hex16NormaliseTest, FourUpperCaseDigitsModulo65536)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", "0000"},     {"5", "0005"},     {"0005", "0005"},  {"00012", "0012"},      {"abc", "0ABC"},
        {"FfFf", "FFFF"}, {"12345", "2345"}, {"1ffff", "FFFF"}, {"10000", "0000"},      {"12g4", "FFFF"},
        {"g", "FFFF"},    {" 12", "FFFF"},   {"-1", "FFFF"},    {"0000000001", "0001"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(Hex16Normalise(in), out) << '"' << in << '"';
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

TEST(AppliedValueTest, TripleAndCaption)
{
    const struct {
        ParameterDialog dialog;
        DialogOutput output;
        ValueTriple expected;
        std::string caption;
    } cases[] = {
        {None, Text("ignored"), {"", 0, 0, ""}, ""},
        {M1Block, Text("0102030405"), {"0102030405", 5, 3, ""}, ""},
        {AddStr, Text("414243", true), {"414243", 3, 3, ""}, ""},
        {AddStr, Text("AB条码"), {"AB条码", 4, 1, ""}, ""},                        // counted in UTF-16 units
        {AddStr, Text("a\xF0\x9F\x98\x80"), {"a\xF0\x9F\x98\x80", 3, 1, ""}, ""},  // a surrogate pair counts two
        {MbcSpStr, Text(",;"), {",;", 2, 1, ""}, ""},
        {CodeNum, Number(5), {"0005", 2, 2, ""}, ""},
        {CodeNum, Number(12), {"0012", 2, 2, ""}, ""},  // decimal digits as typed
        {McbTimeout, Text("1f4"), {"01F4", 2, 2, ""}, ""},
        {McbTimeout, Text("1x"), {"FFFF", 2, 2, ""}, ""},
        {MbcStrOrder, Number(26), {"001A", 2, 2, ""}, ""},
        {MbcStrOrder, Number(0x12345), {"2345", 2, 2, ""}, ""},
        {ExTimeSet, Text("64"), {"0064", 2, 2, ""}, ""},
        {SpeedSet, Text("0960"), {"0960", 2, 2, ""}, ""},
        {DiffResultTime, Text("03E8", false, "1000ms"), {"03E8", 2, 2, ""}, "1000ms"},
        {DiffResultTime, Text("FF", false, "255"), {"FF", 1, 2, ""}, "255"},  // one byte as typed
    };
    for (const auto& c : cases) {
        const AppliedValue applied = BuildAppliedValue(c.dialog, c.output);
        SCOPED_TRACE(c.expected.valueText);
        EXPECT_EQ(applied.value.valueText, c.expected.valueText);
        EXPECT_EQ(applied.value.valueLength, c.expected.valueLength);
        EXPECT_EQ(applied.value.valueKind, c.expected.valueKind);
        EXPECT_EQ(applied.captionText, c.caption);
    }
}

}  // namespace
}  // namespace quillon
