#include "dialogs/CodeNumDLG.h"
#include "dialogs/DiffResultTimeDlg.h"
#include "dialogs/DialogTexts.h"
#include "dialogs/ExTimeSetDlg.h"
#include "dialogs/M1BlockDlg.h"
#include "dialogs/MbcStrOrder.h"
#include "dialogs/MbcspstrDlg.h"
#include "dialogs/QtParameterDialogRunner.h"
#include "document/AddStrDlg.h"
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

template <typename T>
T* Child(QWidget& dialog, const char* name)
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
void Show(ParameterDialogBase& dialog, const char* itemText = nullptr, int mode = -1)
{
    if (mode >= 0)
        dialog.SetMode(mode);
    if (itemText)
        dialog.SetItemText(itemText);
    dialog.PrepareShowing();
    dialog.show();
}

class DialogWidgets : public ::testing::Test {
protected:
    test::RecordingPrompt prompt;
    // Presses OK on a dialog that must refuse with `message` and stay open.
    void ExpectRefused(ParameterDialogBase& dialog, const char* message)
    {
        prompt.shown.clear();
        Press(dialog, "ok");
        EXPECT_EQ(prompt.Texts(), std::vector<std::string>{message});
        EXPECT_TRUE(dialog.isVisible());
    }
};

TEST_F(DialogWidgets, ExTimeSetPrefillsFollowsTheModeAndTakesDigitsOnly)
{
    CExTimeSetDlg dialog(prompt, nullptr);
    Show(dialog, "进入休眠时长: 3000", 2);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "进入休眠时长设置");
    EXPECT_EQ(Child<QLineEdit>(dialog, "field")->text(), "3000");
    Press(dialog, "ok");
    ASSERT_TRUE(dialog.Output());
    EXPECT_EQ(dialog.Output()->text, "0bb8");
    EXPECT_TRUE(prompt.Texts().empty());
    // The number fields take digits only.
    Show(dialog);
    QLineEdit* field = Child<QLineEdit>(dialog, "field");
    field->clear();
    for (const char* typed : {"1", "2", "a", "-", "3"})
        field->insert(typed);
    EXPECT_EQ(field->text(), "123");
}

TEST_F(DialogWidgets, CodeNumArrowsAndOverLimitPrefill)
{
    CCodeNumDLG dialog(prompt, nullptr);
    Show(dialog, "条码输出个数: 9");
    QLineEdit* field = Child<QLineEdit>(dialog, "field");
    EXPECT_TRUE(field->isReadOnly());
    EXPECT_EQ(field->text(), "9");
    ExpectRefused(dialog, t::kCodeNumOverLimit);
    Press(dialog, "up");
    EXPECT_EQ(field->text(), "6");
    Press(dialog, "down");
    EXPECT_EQ(field->text(), "5");
    Press(dialog, "ok");
    ASSERT_TRUE(dialog.Output());
    EXPECT_EQ(dialog.Output()->number, 5);
}

TEST_F(DialogWidgets, SeparatorPrefillLongerThanEightIsShownWholeThenEmptiedOnOk)
{
    CMbcspstrDlg dialog(prompt, nullptr);
    Show(dialog, "分隔符: 123456789");
    QLineEdit* field = Child<QLineEdit>(dialog, "field");
    EXPECT_EQ(field->text(), "123456789");
    ExpectRefused(dialog, t::kMbcSpStrTooLong);
    EXPECT_EQ(field->text(), "");
    EXPECT_EQ(field->maxLength(), 8);
}

TEST_F(DialogWidgets, OrderDialogOpensOnTheItemNameAndAnyOrderDisablesTheList)
{
    CMbcStrOrder dialog(prompt, nullptr);
    Show(dialog, "顺序1* : MSI");
    auto* names = Child<QComboBox>(dialog, "names");
    EXPECT_EQ(names->count(), 27);
    EXPECT_TRUE(Child<QRadioButton>(dialog, "specifiedOrder")->isChecked());
    EXPECT_TRUE(names->isEnabled());
    EXPECT_EQ(names->currentText(), "MSI");
    Press(dialog, "ok");
    ASSERT_TRUE(dialog.Output());
    EXPECT_EQ(dialog.Output()->number, 21);
    Show(dialog);
    Press(dialog, "anyOrder");
    EXPECT_FALSE(names->isEnabled());
    Press(dialog, "ok");
    EXPECT_EQ(dialog.Output()->number, 0);
}

TEST_F(DialogWidgets, M1BlockReopensWithKeyA)
{
    CM1BlockDlg dialog(prompt, nullptr);
    Show(dialog);
    Press(dialog, "keyB");
    Type(dialog, "sector", "15");
    Type(dialog, "block", "0");
    Type(dialog, "key", "ab12");
    Press(dialog, "ok");
    ASSERT_TRUE(dialog.Output());
    EXPECT_EQ(dialog.Output()->text, "613Cab1200000000");
    Show(dialog);
    EXPECT_TRUE(Child<QRadioButton>(dialog, "keyA")->isChecked());
    Type(dialog, "block", "3");
    ExpectRefused(dialog, t::kM1BlockWrong);
}

TEST_F(DialogWidgets, AddTextNonAsciiIsRefusedAndTheFieldEmptied)
{
    CAddStrDlg dialog(prompt, nullptr);
    Show(dialog, "前缀: ABC\\t");
    EXPECT_EQ(dialog.windowTitle().toStdString(), t::kAddStrTitle);
    EXPECT_EQ(Child<QLineEdit>(dialog, "text")->text(), "ABC");
    EXPECT_TRUE(Child<QCheckBox>(dialog, "tab")->isChecked());
    EXPECT_FALSE(Child<QCheckBox>(dialog, "hex")->isChecked());
    Type(dialog, "text", "中文");
    ExpectRefused(dialog, t::kAddStrNotAscii);
    EXPECT_EQ(Child<QLineEdit>(dialog, "text")->text(), "");
    Type(dialog, "text", "XY");
    Press(dialog, "ok");
    ASSERT_TRUE(dialog.Output());
    EXPECT_EQ(dialog.Output()->text, "XY\t");
    EXPECT_FALSE(dialog.Output()->hex);
}

// Runs one modal showing; `drive` acts on the open dialog once exec() runs.
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
    return runner.Run(kind, mode, optionText);
}

TEST_F(DialogWidgets, RunnerReusesEachDialogAndSetsModeAndItemText)
{
    QtParameterDialogRunner runner(nullptr, prompt);
    EXPECT_EQ(runner.Dialog(ParameterDialog::None), nullptr);
    EXPECT_FALSE(runner.Run(ParameterDialog::None, -1, ""));

    // A refused value shows the message and keeps the dialog open with the text.
    const auto first = RunWith(runner, ParameterDialog::DiffResultTime, 7, "", [&](ParameterDialogBase& d) {
        EXPECT_EQ(d.windowTitle().toStdString(), "服务端标识");
        EXPECT_EQ(Child<QLabel>(d, "prompt")->text().toStdString(), "Modbus RTU 访问服务地址标识 0-255：");
        Type(d, "field", "256");
        ExpectRefused(d, t::kValueOutOfRange);
        EXPECT_EQ(Child<QLineEdit>(d, "field")->text(), "256");
        Type(d, "field", "255");
        Press(d, "ok");
        EXPECT_FALSE(d.isVisible());
    });
    ASSERT_TRUE(first);
    EXPECT_EQ(first->text, "FF");
    EXPECT_EQ(first->captionText, "255");

    ParameterDialogBase* dialog = runner.Dialog(ParameterDialog::DiffResultTime);
    // Mode -1 keeps mode 7; the field starts empty again.
    const auto second = RunWith(runner, ParameterDialog::DiffResultTime, -1, "", [&](ParameterDialogBase& d) {
        EXPECT_EQ(d.windowTitle().toStdString(), "服务端标识");
        EXPECT_EQ(Child<QLineEdit>(d, "field")->text(), "");
        Type(d, "field", "256");
        ExpectRefused(d, t::kValueOutOfRange);
    });
    EXPECT_FALSE(second);  // refused, then cancelled
    EXPECT_EQ(runner.Dialog(ParameterDialog::DiffResultTime), dialog);

    const auto speed = RunWith(runner, ParameterDialog::SpeedSet, -1, "曝光: 3000", [](ParameterDialogBase& d) {
        EXPECT_EQ(d.windowTitle().toStdString(), t::kSpeedSetTitle);
        Press(d, "ok");
    });
    ASSERT_TRUE(speed);
    EXPECT_EQ(speed->text, "0bb8");

    const auto timeout = RunWith(runner, ParameterDialog::McbTimeout, -1, "", [&](ParameterDialogBase& d) {
        Type(d, "field", "99999");
        ExpectRefused(d, t::kTimeoutOverLimit);
        EXPECT_EQ(Child<QLineEdit>(d, "field")->text(), "");
        Type(d, "field", "65535");
        Press(d, "ok");
    });
    ASSERT_TRUE(timeout);
    EXPECT_EQ(timeout->text, "ffff");
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
