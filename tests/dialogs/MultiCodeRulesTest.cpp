#include "dialogs/CodeNumRules.h"
#include "dialogs/DialogTexts.h"
#include "dialogs/MbcSpStrRules.h"
#include "dialogs/MbcStrOrderRules.h"
#include "dialogs/SymbologyNames.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

namespace t = dialog_texts;

TEST(CodeNumRules, OpensWithTheItemValueOrTwo)
{
    CodeNumRules rules;
    EXPECT_EQ(rules.OpeningField(), "2");
    rules.SetItemText("条码输出个数");
    EXPECT_EQ(rules.OpeningField(), "2");
    rules.SetItemText("条码输出个数: 4");
    EXPECT_EQ(rules.OpeningField(), "4");
}

TEST(CodeNumRules, ArrowsStayWithinTwoToSix)
{
    EXPECT_EQ(CodeNumRules::Step("2", false), "2");
    EXPECT_EQ(CodeNumRules::Step("3", false), "2");
    EXPECT_EQ(CodeNumRules::Step("0", false), "2");
    std::string field = "2";
    for (const char* expected : {"3", "4", "5", "6", "6"}) {
        field = CodeNumRules::Step(field, true);
        EXPECT_EQ(field, expected);
    }
    EXPECT_EQ(CodeNumRules::Step("9", true), "6");
    EXPECT_EQ(CodeNumRules::Step("9", false), "8");
}

TEST(CodeNumRules, OkAcceptsBelowSevenAndKeepsTheCount)
{
    CodeNumRules rules;
    EXPECT_EQ(rules.Count(), 0);
    const DialogOutcome five = rules.Accept("5");
    ASSERT_TRUE(five.output);
    EXPECT_EQ(five.output->number, 5);
    ASSERT_TRUE(rules.Accept("6").output);

    for (const char* refused : {"7", "9", "-"}) {
        const DialogOutcome outcome = rules.Accept(refused);
        EXPECT_FALSE(outcome.output) << refused;
        EXPECT_EQ(outcome.message, t::kCodeNumOverLimit);
        EXPECT_FALSE(outcome.emptyField);
    }
    EXPECT_EQ(rules.Count(), 6);
}

TEST(MbcSpStrRules, EightCharactersPassNineAreRefusedAndEmptied)
{
    MbcSpStrRules rules;
    EXPECT_EQ(rules.OpeningField(), "");
    rules.SetItemText("分隔符: ;;");
    EXPECT_EQ(rules.OpeningField(), ";;");

    const DialogOutcome empty = rules.Accept("");
    ASSERT_TRUE(empty.output);
    EXPECT_EQ(empty.output->text, "");

    const DialogOutcome eight = rules.Accept("中文abcdef");
    ASSERT_TRUE(eight.output);
    EXPECT_EQ(eight.output->text, "中文abcdef");

    const DialogOutcome nine = rules.Accept("123456789");
    EXPECT_FALSE(nine.output);
    EXPECT_EQ(nine.message, t::kMbcSpStrTooLong);
    EXPECT_TRUE(nine.emptyField);
    EXPECT_EQ(rules.Separator(), "");
}

TEST(SymbologyNames, TwentySevenNamesWithoutCodeFifteen)
{
    const auto names = SymbologyNames();
    ASSERT_EQ(names.size(), 27u);
    EXPECT_STREQ(names.front().name, "NULL");
    EXPECT_STREQ(names.back().name, "CODE32");
    EXPECT_EQ(names.back().code, 27);
    for (const SymbologyName& entry : names)
        EXPECT_NE(entry.code, 15);
    EXPECT_EQ(FindSymbologyCode("CODE128"), 12);
    EXPECT_EQ(FindSymbologyCode("Interleaved 2 of 5"), 14);
    EXPECT_EQ(FindSymbologyCode("CODE93"), 16);
    EXPECT_EQ(FindSymbologyCode("code128"), std::nullopt);
}

TEST(MbcStrOrderRules, OpensInSpecifiedOrderOnlyForAKnownName)
{
    struct Case {
        const char* item;
        bool specified;
        const char* name;
    } cases[] = {
        {"顺序1* : CODE128", true, "CODE128"},
        {"顺序1: GS1 DataBar LIMITED", true, "GS1 DataBar LIMITED"},
        {"顺序1: UNKNOWN", false, ""},
        {"顺序1:", false, ""},       // colon is the last character
        {"顺序1: ", false, ""},
        {":CODE128", false, ""},     // colon at the first position
        {"顺序1", false, ""},
    };
    for (const Case& c : cases) {
        MbcStrOrderRules rules;
        rules.SetItemText(c.item);
        const auto opening = rules.Open();
        EXPECT_EQ(opening.specifiedOrder, c.specified) << c.item;
        EXPECT_EQ(opening.selectedName, c.name) << c.item;
    }
}

TEST(MbcStrOrderRules, OkGivesTheCodeAndAnUnknownNameKeepsThePrevious)
{
    MbcStrOrderRules rules;
    const DialogOutcome msi = rules.Accept(false, "MSI");
    ASSERT_TRUE(msi.output);
    EXPECT_EQ(msi.output->number, 21);

    EXPECT_EQ(rules.Accept(false, "  CODE128 ").output->number, 12);
    EXPECT_EQ(rules.Accept(false, "NOT A CODE").output->number, 12);
    EXPECT_EQ(rules.Accept(true, "MSI").output->number, 0);

    rules.Accept(false, "QR");
    rules.ChooseAnyOrder();
    EXPECT_EQ(rules.Code(), 0);
    EXPECT_EQ(rules.Accept(false, "nothing").output->number, 0);
}

TEST(MbcStrOrderRules, OpeningDoesNotChangeTheStoredCode)
{
    MbcStrOrderRules rules;
    rules.Accept(false, "AZTEC");
    rules.SetItemText("顺序: MSI");
    rules.Open();
    EXPECT_EQ(rules.Code(), 5);
}

}  // namespace
}  // namespace quillon
