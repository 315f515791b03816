#include "dialogs/DialogTexts.h"
#include "dialogs/DiffResultTimeRules.h"
#include "dialogs/WordEntry.h"

#include <gtest/gtest.h>

#include <string>

namespace quillon {
namespace {

namespace t = dialog_texts;

struct DiffCase {
    int mode;
    std::string field;
    // Empty result: the value is refused.
    std::string result;
    std::string display;
};

TEST(DiffResultTimeRules, LimitsAndFormatsPerMode)
{
    const DiffCase cases[] = {
        {0, "100", "0064", "100 ms"},
        {0, "65535", "FFFF", "65535 ms"},
        {0, "65536", "", ""},
        {0, "", "0000", "0 ms"},
        {1, "65535", "FFFF", "65535 ms"},
        {3, "1", "0001", "1 ms"},
        {4, "65536", "", ""},
        {5, "1024", "0400", "1024"},
        {5, "1025", "", ""},
        {6, "65535", "FFFF", "65535"},
        {6, "65536", "", ""},
        {7, "255", "FF", "255"},
        {7, "256", "", ""},
        {7, "", "00", "0"},
        {7, "99999999999999999999999", "", ""},
    };
    for (const DiffCase& c : cases) {
        DiffResultTimeRules rules;
        rules.SetMode(c.mode);
        const DialogOutcome outcome = rules.Accept(c.field);
        SCOPED_TRACE("mode " + std::to_string(c.mode) + " field '" + c.field + "'");
        if (c.result.empty()) {
            EXPECT_FALSE(outcome.output);
            EXPECT_EQ(outcome.message, t::kValueOutOfRange);
            EXPECT_FALSE(outcome.emptyField);
        } else {
            ASSERT_TRUE(outcome.output);
            EXPECT_EQ(outcome.output->text, c.result);
            EXPECT_EQ(outcome.output->captionText, c.display);
            EXPECT_EQ(rules.ResultText(), c.result);
        }
    }
}

TEST(DiffResultTimeRules, ModeChoosesTitleAndPrompt)
{
    DiffResultTimeRules rules;
    EXPECT_STREQ(rules.Title(), "相同译码结果时间间隔设置");
    rules.SetMode(1);
    EXPECT_STREQ(rules.Title(), "不同译码结果时间间隔设置");
    EXPECT_STREQ(rules.Prompt(), "译码不同结果时间间隔，有效值为0－65535，单位ms：");
    rules.SetMode(3);
    EXPECT_STREQ(rules.Title(), "NFC不同结果时间间隔设置");
    rules.SetMode(4);
    EXPECT_STREQ(rules.Title(), "NFC相同结果时间间隔设置");
    rules.SetMode(5);
    EXPECT_STREQ(rules.Title(), "写保持寄存器数量");
    EXPECT_STREQ(rules.Prompt(), "设置写保持寄存器数量，有效值为0－1024：");
    rules.SetMode(6);
    EXPECT_STREQ(rules.Title(), "写保持寄存器起始地址");
    EXPECT_STREQ(rules.Prompt(), "设置写保持寄存器起止地址，有效值为0－65535：");
    rules.SetMode(7);
    EXPECT_STREQ(rules.Title(), "服务端标识");
    EXPECT_STREQ(rules.Prompt(), "Modbus RTU 访问服务地址标识 0-255：");
    EXPECT_EQ(rules.Maximum(), 255);
}

TEST(DiffResultTimeRules, UnknownModeKeepsTheLastCaptionsAndLimit)
{
    DiffResultTimeRules rules;
    rules.SetMode(5);
    rules.SetMode(2);
    EXPECT_STREQ(rules.Title(), "写保持寄存器数量");
    EXPECT_EQ(rules.Maximum(), 1024);
    // Mode 2 is one of the millisecond modes for the display text.
    ASSERT_TRUE(rules.Accept("10").output);
    EXPECT_EQ(rules.DisplayText(), "10 ms");
}

TEST(DiffResultTimeRules, RefusalKeepsTheLastResult)
{
    DiffResultTimeRules rules;
    ASSERT_TRUE(rules.Accept("100").output);
    EXPECT_FALSE(rules.Accept("70000").output);
    EXPECT_EQ(rules.ResultText(), "0064");
    EXPECT_EQ(rules.DisplayText(), "100 ms");
}

struct WordCase {
    const char* message;
    bool emptiesField;
};

class WordEntryTest : public ::testing::TestWithParam<WordCase> {};

TEST_P(WordEntryTest, AcceptsUpTo65535AsLowerCaseHex)
{
    WordEntry entry(GetParam().message, GetParam().emptiesField);
    struct {
        const char* field;
        const char* result;
    } accepted[] = {{"3000", "0bb8"}, {"65535", "ffff"}, {"", "0000"}, {"0", "0000"}};
    for (const auto& c : accepted) {
        const DialogOutcome outcome = entry.Accept(c.field);
        ASSERT_TRUE(outcome.output) << c.field;
        EXPECT_EQ(outcome.output->text, c.result);
        EXPECT_EQ(entry.ResultText(), c.result);
    }
    EXPECT_EQ(entry.Value(), 0);

    ASSERT_TRUE(entry.Accept("3000").output);
    for (const char* refused : {"65536", "99999", "-1", "123456789012345678901234"}) {
        const DialogOutcome outcome = entry.Accept(refused);
        EXPECT_FALSE(outcome.output) << refused;
        EXPECT_EQ(outcome.message, GetParam().message);
        EXPECT_EQ(outcome.emptyField, GetParam().emptiesField);
    }
    // A refusal leaves the last accepted result for the next showing.
    EXPECT_EQ(entry.ResultText(), "0bb8");
    EXPECT_EQ(entry.Value(), 3000);
}

INSTANTIATE_TEST_SUITE_P(TimeOutsAndExposure, WordEntryTest,
                         ::testing::Values(WordCase{t::kTimeoutOverLimit, false},  // trigger/decode/sleep
                                           WordCase{t::kSpeedOverLimit, false},    // exposure
                                           WordCase{t::kTimeoutOverLimit, true}));  // multi-code time-out

TEST(WordEntry, PrefillsFromTheItemTextAtEachShowing)
{
    WordEntry entry(t::kTimeoutOverLimit, false);
    EXPECT_EQ(entry.OpeningField(), "");
    entry.SetItemText("触发超时: 3000");
    EXPECT_EQ(entry.OpeningField(), "3000");
    entry.SetItemText(":3000");
    EXPECT_EQ(entry.OpeningField(), "");
}

TEST(ExTimeSetCaption, ModeZeroAndUnknownModesAreTheTriggerTimeOut)
{
    EXPECT_STREQ(t::ExTimeSetCaption(0).title, "触发超时设置");
    EXPECT_STREQ(t::ExTimeSetCaption(0).prompt, "触发模式下的超时限制，有效值为0－65535毫秒：");
    EXPECT_STREQ(t::ExTimeSetCaption(1).title, "命令解码超时设置");
    EXPECT_STREQ(t::ExTimeSetCaption(1).prompt, "命令解码超时时长，有效值为0－65535毫秒：");
    EXPECT_STREQ(t::ExTimeSetCaption(2).title, "进入休眠时长设置");
    EXPECT_STREQ(t::ExTimeSetCaption(2).prompt, "进入休眠状态等待时长，有效值为0－65535毫秒：");
    EXPECT_STREQ(t::ExTimeSetCaption(9).title, "触发超时设置");
}

}  // namespace
}  // namespace quillon
