#include "dialogs/AddStrDlg.h"
#include "dialogs/CodeNumDLG.h"
#include "dialogs/DialogTexts.h"
#include "dialogs/ExTimeSetDlg.h"
#include "dialogs/M1BlockDlg.h"
#include "dialogs/MbcStrOrder.h"
#include "dialogs/QtParameterDialogRunner.h"
#include "support/RecordingPrompt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>

namespace quillon {
namespace {

namespace t = dialog_texts;

template <typename T> T* Child(QWidget& dialog, const char* name)
{
    T* child = dialog.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
}

void Type(QWidget& dialog, const char* field, const char* text)
{
    Child<QLineEdit>(dialog, field)->setText(QString::fromUtf8(text));
}

void Press(QWidget& dialog, const char* button)
{
    Child<QAbstractButton>(dialog, button)->click();
}

// Shows a dialog the way the runner does, without blocking in exec().
void Show(ParameterDialogBase& dialog, const char* itemText = nullptr)
{
    if (itemText)
        dialog.SetItemText(itemText);
    dialog.PrepareShowing();
    dialog.show();
}

// Runs one modal showing; `drive` acts on the open dialog once exec() runs,
// and whatever it leaves open is cancelled.
template <typename Drive>
std::optional<DialogOutput> RunWith(QtParameterDialogRunner& runner, ParameterDialog kind, int mode,
                                    const std::string& optionText, Drive drive)
{
    QTimer::singleShot(0, [&] {
        ParameterDialogBase* dialog = runner.Dialog(kind);
        drive(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    return runner.Run(kind, DialogRequest{mode, optionText, std::nullopt});
}

class DialogWidgets : public ::testing::Test {
protected:
    test::RecordingPrompt prompt;
    QtParameterDialogRunner runner{nullptr, prompt};
};

// The limits and messages themselves are in DialogRulesTest; here each dialog's
// OK shows its rule's message, stays open, empties the field or not, and Cancel
// then gives nothing.
TEST_F(DialogWidgets, OkShowsTheRuleMessageAndStaysOpenCancelGivesNothingDialogsAreReused)
{
    using enum ParameterDialog;
    const struct {
        ParameterDialog kind;
        int mode;
        const char *item, *field, *opening, *typed, *message, *left;
    } cases[] = {
        {ExTimeSet, 2, "进入休眠时长: 3000", "field", "3000", "70000", t::kTimeoutOverLimit, "70000"},
        {SpeedSet, -1, "曝光: 3000", "field", "3000", "65536", t::kSpeedOverLimit, "65536"},
        {McbTimeout, -1, "", "field", "", "99999", t::kTimeoutOverLimit, ""},
        {DiffResultTime, 7, "", "field", "", "256", t::kValueOutOfRange, "256"},
        {CodeNum, -1, "条码输出个数: 9", "field", "9", nullptr, t::kCodeNumOverLimit, "9"},
        // Shown whole although the box takes eight.
        {MbcSpStr, -1, "分隔符: 123456789", "field", "123456789", nullptr, t::kMbcSpStrTooLong, ""},
        {AddStr, -1, "前缀: ABC", "text", "ABC", "中文", t::kAddStrNotAscii, ""},
        {M1Block, -1, "", "sector", "", "16", t::kM1SectorWrong, "16"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        prompt.shown.clear();
        const auto output = RunWith(runner, c.kind, c.mode, c.item, [&](ParameterDialogBase& d) {
            QLineEdit* field = Child<QLineEdit>(d, c.field);
            EXPECT_EQ(field->text().toStdString(), c.opening);
            if (c.typed)
                field->setText(QString::fromUtf8(c.typed));
            Press(d, "ok");
            EXPECT_EQ(prompt.Texts(), std::vector<std::string>{c.message});
            EXPECT_TRUE(d.isVisible());
            EXPECT_EQ(field->text().toStdString(), c.left);
        });
        EXPECT_FALSE(output);
    }

    // A typed symbology name outside the list is refused the same way; the
    // operator corrects it in the still open dialog.
    prompt.shown.clear();
    const auto order = RunWith(runner, MbcStrOrder, -1, "顺序1: CODE128", [&](ParameterDialogBase& d) {
        auto* names = Child<QComboBox>(d, "names");
        EXPECT_EQ(names->currentText(), "CODE128");
        names->setEditText("CODE 128");
        Press(d, "ok");
        EXPECT_EQ(prompt.Texts(), std::vector<std::string>{t::kUnknownSymbology});
        EXPECT_TRUE(d.isVisible());
        names->setEditText("MSI");
        Press(d, "ok");
    });
    ASSERT_TRUE(order);
    EXPECT_EQ(order->number, 21);

    // The runner reuses each dialog: mode -1 keeps mode 7 and the field starts empty again.
    ParameterDialogBase* dialog = runner.Dialog(DiffResultTime);
    const auto kept = RunWith(runner, DiffResultTime, -1, "", [](ParameterDialogBase& d) {
        EXPECT_EQ(d.windowTitle().toStdString(), "服务端标识");
        EXPECT_EQ(Child<QLabel>(d, "prompt")->text().toStdString(), "Modbus RTU 访问服务地址标识 0-255：");
        EXPECT_EQ(Child<QLineEdit>(d, "field")->text(), "");
        Type(d, "field", "255");
        Press(d, "ok");
    });
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->text, "FF");
    EXPECT_EQ(runner.Dialog(DiffResultTime), dialog);
    EXPECT_EQ(runner.Dialog(None), nullptr);
    EXPECT_FALSE(runner.Run(None, DialogRequest{}));
}

// What only the controls do: the digit filter, the arrows, the radio buttons
// and the check boxes feed the rules.
TEST_F(DialogWidgets, ControlsFeedTheRules)
{
    CExTimeSetDlg exposure(prompt, nullptr);
    Show(exposure);
    QLineEdit* field = Child<QLineEdit>(exposure, "field");
    for (const char* typed : {"1", "2", "a", "-", "3"})
        field->insert(typed);
    EXPECT_EQ(field->text(), "123");

    CCodeNumDLG count(prompt, nullptr);
    Show(count, "条码输出个数: 9");
    EXPECT_TRUE(Child<QLineEdit>(count, "field")->isReadOnly());
    Press(count, "up");    // 9 -> 6
    Press(count, "down");  // 6 -> 5
    Press(count, "ok");
    ASSERT_TRUE(count.Output());
    EXPECT_EQ(count.Output()->number, 5);

    CMbcStrOrder order(prompt, nullptr);
    Show(order, "顺序1* : MSI");
    auto* names = Child<QComboBox>(order, "names");
    EXPECT_EQ(names->count(), 27);
    EXPECT_EQ(names->currentText(), "MSI");
    Press(order, "anyOrder");
    EXPECT_FALSE(names->isEnabled());
    Press(order, "ok");
    ASSERT_TRUE(order.Output());
    EXPECT_EQ(order.Output()->number, 0);

    CM1BlockDlg block(prompt, nullptr);
    Show(block);
    Press(block, "keyB");
    Type(block, "sector", "15");
    Type(block, "block", "0");
    Type(block, "key", "ab12");
    Press(block, "ok");
    ASSERT_TRUE(block.Output());
    EXPECT_EQ(block.Output()->text, "613Cab1200000000");
    Show(block);
    EXPECT_TRUE(Child<QRadioButton>(block, "keyA")->isChecked());  // reopens with key A

    CAddStrDlg text(prompt, nullptr);
    Show(text, "前缀: ABC\\t");
    EXPECT_TRUE(Child<QCheckBox>(text, "tab")->isChecked());
    Type(text, "text", "XY");
    Press(text, "ok");
    ASSERT_TRUE(text.Output());
    EXPECT_EQ(text.Output()->text, "XY\t");
    EXPECT_TRUE(prompt.shown.empty());
}

}  // namespace
}  // namespace quillon

int main(int argc, char** argv)
{
    // The widget tests need no display.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
