#include "dialogs/DialogInputs.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

// The input a dialog's output is kept as in a profile gives the same output
// when the profile is read again.
TEST(DialogInputTextTest, GivesBackTheOutputItWasTakenFrom)
{
    struct Case {
        ParameterDialog dialog;
        int mode;
        const char* typed;
        const char* kept;
    };
    const Case cases[] = {
        {ParameterDialog::AddStr, -1, "ABC 123", "ABC 123"},
        {ParameterDialog::AddStr, -1, "hex:414243", "hex:414243"},
        {ParameterDialog::M1Block, -1, "B:3:2:A1B2C3D4E5F6", "B:3:2:A1B2C3D4E5F6"},
        {ParameterDialog::M1Block, -1, "A:15:0:FFFF", "A:15:0:FFFF00000000"},
        {ParameterDialog::MbcSpStr, -1, "--", "--"},
        {ParameterDialog::CodeNum, -1, "05", "5"},
        {ParameterDialog::McbTimeout, -1, "3000", "3000"},
        {ParameterDialog::ExTimeSet, 0, "65535", "65535"},
        {ParameterDialog::SpeedSet, -1, "300", "300"},
        {ParameterDialog::MbcStrOrder, -1, "any", "any"},
        {ParameterDialog::MbcStrOrder, -1, "DM", "DM"},
        {ParameterDialog::DiffResultTime, 0, "1000", "1000"},
        {ParameterDialog::DiffResultTime, 7, "12", "12"},
    };
    for (const Case& c : cases) {
        DialogInputs inputs;
        inputs.SetValue(c.typed);
        const auto first = inputs.Run(c.dialog, {c.mode, "", std::nullopt});
        ASSERT_TRUE(first) << c.typed << ": " << inputs.Error();
        const std::string kept = DialogInputText(c.dialog, *first);
        EXPECT_EQ(kept, c.kept);
        inputs.SetValue(kept);
        const auto again = inputs.Run(c.dialog, {c.mode, "", std::nullopt});
        ASSERT_TRUE(again) << kept;
        EXPECT_EQ(again->text, first->text) << c.typed;
        EXPECT_EQ(again->hex, first->hex) << c.typed;
        EXPECT_EQ(again->number, first->number) << c.typed;
        EXPECT_EQ(again->captionText, first->captionText) << c.typed;
    }
}

}  // namespace
}  // namespace quillon
