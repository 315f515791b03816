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
void Show(ParameterDialogBase& dialog)
{
    dialog.PrepareShowing();
    dialog.show();
}

class DialogWidgets : public ::testing::Test {
protected:
    test::RecordingPrompt prompt;
};

TEST_F(DialogWidgets, RefusedValueShowsTheMessageAndKeepsTheDialogOpen)
{
    CDiffResultTimeDlg dialog(prompt, nullptr);
    dialog.SetMode(7);
    Show(dialog);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "服务端标识");
    EXPECT_EQ(Child<QLabel>(dialog, "prompt")->text().toStdString(), "Modbus RTU 访问服务地址标识 0-255：");

    Type(dialog, "field", "256");
    Press(dialog, "ok");
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>{t::kValueOutOfRange});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Child<QLineEdit>(dialog, "field")->text(), "256");

    Type(dialog, "field", "255");
    Press(dialog, "ok");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_TRUE(dialog.Output());
    EXPECT_EQ(dialog.Output()->text, "FF");
    EXPECT_EQ(dialog.Output()->captionText, "255");
}

TEST_F(DialogWidgets, NumberFieldRefusesTypedLetters)
{
    CDiffResultTimeDlg dialog(prompt, nullptr);
    Show(dialog);
    QLineEdit* field = Child<QLineEdit>(dialog, "field");
    for (const char* typed : {"1", "2", "a", "-", "3"})
        field->insert(typed);
    EXPECT_EQ(field->text(), "123");
}

TEST_F(DialogWidgets, ExTimeSetPrefillsFromTheItemTextAndFollowsTheMode)
{
    CExTimeSetDlg dialog(prompt, nullptr);
    dialog.SetMode(2);
    dialog.SetItemText("进入休眠时长: 3000");
    Show(dialog);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "进入休眠时长设置");
    EXPECT_EQ(Child<QLineEdit>(dialog, "field")->text(), "3000");
    Press(dialog, "ok");
    ASSERT_TRUE(dialog.Output());
    EXPECT_EQ(dialog.Output()->text, "0bb8");
    EXPECT_TRUE(prompt.Texts().empty());
}

TEST_F(DialogWidgets, CodeNumArrowsAndOverLimitPrefill)
{
    CCodeNumDLG dialog(prompt, nullptr);
    dialog.SetItemText("条码输出个数: 9");
    Show(dialog);
    QLineEdit* field = Child<QLineEdit>(dialog, "field");
    EXPECT_TRUE(field->isReadOnly());
    EXPECT_EQ(field->text(), "9");
    Press(dialog, "ok");
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>{t::kCodeNumOverLimit});
    EXPECT_TRUE(dialog.isVisible());

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
    dialog.SetItemText("分隔符: 123456789");
    Show(dialog);
    QLineEdit* field = Child<QLineEdit>(dialog, "field");
    EXPECT_EQ(field->text(), "123456789");
    Press(dialog, "ok");
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>{t::kMbcSpStrTooLong});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(field->text(), "");
    EXPECT_EQ(field->maxLength(), 8);
}

TEST_F(DialogWidgets, OrderDialogOpensOnTheItemNameAndAnyOrderDisablesTheList)
{
    CMbcStrOrder dialog(prompt, nullptr);
    dialog.SetItemText("顺序1* : MSI");
    Show(dialog);
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
    Press(dialog, "ok");
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>{t::kM1BlockWrong});
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(DialogWidgets, AddTextNonAsciiIsRefusedAndTheFieldEmptied)
{
    CAddStrDlg dialog(prompt, nullptr);
    dialog.SetItemText("前缀: ABC\\t");
    Show(dialog);
    EXPECT_EQ(dialog.windowTitle().toStdString(), t::kAddStrTitle);
    EXPECT_EQ(Child<QLineEdit>(dialog, "text")->text(), "ABC");
    EXPECT_TRUE(Child<QCheckBox>(dialog, "tab")->isChecked());
    EXPECT_FALSE(Child<QCheckBox>(dialog, "hex")->isChecked());

    Type(dialog, "text", "中文");
    Press(dialog, "ok");
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>{t::kAddStrNotAscii});
    EXPECT_TRUE(dialog.isVisible());
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

    const auto first = RunWith(runner, ParameterDialog::DiffResultTime, 5, "", [](QWidget& d) {
        EXPECT_EQ(d.windowTitle().toStdString(), "写保持寄存器数量");
        Type(d, "field", "1024");
        Press(d, "ok");
    });
    ASSERT_TRUE(first);
    EXPECT_EQ(first->text, "0400");
    EXPECT_EQ(first->captionText, "1024");

    ParameterDialogBase* dialog = runner.Dialog(ParameterDialog::DiffResultTime);
    // mode -1 keeps mode 5; the field starts empty again.
    const auto second = RunWith(runner, ParameterDialog::DiffResultTime, -1, "", [](QWidget& d) {
        EXPECT_EQ(Child<QLineEdit>(d, "field")->text(), "");
        Type(d, "field", "1025");
        Press(d, "ok");
    });
    EXPECT_FALSE(second);  // refused, then cancelled
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>{t::kValueOutOfRange});
    EXPECT_EQ(runner.Dialog(ParameterDialog::DiffResultTime), dialog);

    const auto speed = RunWith(runner, ParameterDialog::SpeedSet, -1, "曝光: 3000", [](QWidget& d) {
        EXPECT_EQ(d.windowTitle().toStdString(), t::kSpeedSetTitle);
        Press(d, "ok");
    });
    ASSERT_TRUE(speed);
    EXPECT_EQ(speed->text, "0bb8");

    const auto timeout = RunWith(runner, ParameterDialog::McbTimeout, -1, "", [](QWidget& d) {
        Type(d, "field", "99999");
        Press(d, "ok");
        EXPECT_EQ(Child<QLineEdit>(d, "field")->text(), "");
        Type(d, "field", "65535");
        Press(d, "ok");
    });
    ASSERT_TRUE(timeout);
    EXPECT_EQ(timeout->text, "ffff");
    EXPECT_EQ(prompt.Texts().back(), t::kTimeoutOverLimit);
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
