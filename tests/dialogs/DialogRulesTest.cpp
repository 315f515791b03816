#include "base/HexText.h"
#include "dialogs/AddStrRules.h"
#include "dialogs/CodeNumRules.h"
#include "dialogs/DialogTexts.h"
#include "dialogs/DiffResultTimeRules.h"
#include "dialogs/FieldText.h"
#include "dialogs/M1BlockRules.h"
#include "dialogs/MbcSpStrRules.h"
#include "dialogs/MbcStrOrderRules.h"
#include "dialogs/SymbologyNames.h"
#include "dialogs/WordEntry.h"

#include <gtest/gtest.h>

#include <string>

namespace quillon {
namespace {

namespace t = dialog_texts;

// Checks an outcome: an empty `message` means accepted with `text`.
void ExpectOutcome(const DialogOutcome& outcome, const std::string& message, const std::string& text, bool emptied)
{
    if (message.empty()) {
        ASSERT_TRUE(outcome.output) << outcome.message;
        EXPECT_EQ(outcome.output->text, text);
    } else {
        EXPECT_FALSE(outcome.output);
        EXPECT_EQ(outcome.message, message);
        EXPECT_EQ(outcome.emptyField, emptied);
    }
}

// ---- shared field text helpers

TEST(FieldText, PrefillTakesWhatFollowsTheColonAndOneCharacter)
{
    const std::pair<const char*, const char*> cases[] = {
        {"触发超时: 3000", "3000"},
        {"x:y5", "5"},
        {":3000", ""} /* colon first */,
        {"no colon", ""},
        {"name:", ""},
        {"name: ", ""},
        {"a: b: c", "b: c"} /* first colon only */,
        {"名称:中文值", "文值"},
    };
    for (const auto& [item, field] : cases)
        EXPECT_EQ(PrefillFromItemText(item), field) << item;
}

TEST(FieldText, NumbersHexAndCounts)
{
    // Digits are decimal; other characters fold in as hex or -1.
    const std::pair<const char*, long> numbers[] = {{"", 0},    {"0", 0},  {"65535", 65535}, {"007", 7},
                                                    {"1a", 20}, {"1x", 9}, {"-", -1}};
    for (const auto& [text, value] : numbers)
        EXPECT_EQ(ReadFieldNumber(text), value) << text;
    // Long digit strings saturate instead of wrapping (2^64 + 5 would wrap to 5).
    EXPECT_GT(ReadFieldNumber("18446744073709551621"), 65535);
    EXPECT_GT(ReadFieldNumber(std::string(200, '9')), 65535);
    // Leading integers read like atoi.
    for (const auto& [text, value] : {std::pair{"15", 15LL}, {" 7x", 7LL}, {"abc", 0LL}, {"-1", -1LL}})
        EXPECT_EQ(ReadLeadingInteger(text), value) << text;
    EXPECT_GT(ReadLeadingInteger("4294967312"), 15);  // 2^32 + 16 must not become 16
    for (const auto& [value, hex] :
         {std::pair{0LL, "0000"}, {3000LL, "0bb8"}, {65535LL, "ffff"}, {65536LL + 0x12, "0012"}})
        EXPECT_EQ(LowWordHex(value), hex) << value;
    EXPECT_EQ(CountUnits("中文"), 2u);
    EXPECT_TRUE(IsHexText("0123456789abcdefABCDEF"));
    EXPECT_FALSE(IsHexText("12G4"));
    EXPECT_FALSE(IsHexText("中"));
}

// ---- add-text dialog

TEST(AddStrRules, OpeningReadsTheTextAndEscapesFromTheItemText)
{
    struct {
        const char* initial;
        const char* text;
        bool tab, lineBreak;
    } cases[] = {
        {"前缀: ABC\\t", "ABC", true, false},
        {"前缀: ABC\\r\\n", "ABC", false, true},
        {"前缀: ABC\\t\\r\\n", "ABC", true, true},
        {"前缀: ABC", "ABC", false, false},
        {"前缀", "", false, false},
        {":ABC", "", false, false},         // colon at the first position
        {"\\tname: X", "X", false, false},  // escape and backslash at the first position
        {"a\\b: X", "", false, false},      // backslash before the colon
        {"名称: 中文", "中文", false, false},
    };
    for (const auto& c : cases) {
        AddStrRules rules;
        rules.SetInitialText(c.initial);
        const AddStrRules::Fields opening = rules.Opening();
        EXPECT_EQ(opening.text, c.text) << c.initial;
        EXPECT_EQ(opening.tab, c.tab) << c.initial;
        EXPECT_EQ(opening.lineBreak, c.lineBreak) << c.initial;
        EXPECT_FALSE(opening.hex);
    }
}

TEST(AddStrRules, OpeningFromTheDevicesBytesSendsThemBackUnchanged)
{
    using namespace std::string_literals;
    struct {
        std::string bytes;
        const char* text;
        bool tab, lineBreak, hex;
    } cases[] = {
        {"A\rB", "410d42", false, false, true},  // shown in the tree as A(x0D)B
        {"AB\t", "AB", true, false, false},
        {"AB\r\n", "AB", false, true, false},
        {"AB\t\r\n", "AB", true, true, false},
        {"\r\n", "", false, true, false},
        {"\tAB", "094142", false, false, true},       // a tab that is not trailing
        {"a\\b: c", "a\\b: c", false, false, false},  // no escapes read from device text
        {"\xe9\t", "e9", true, false, true},
        {"\0"s, "00", false, false, true},
        {"", "", false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        AddStrRules rules;
        rules.SetInitialText("前缀* : shown");
        rules.SetDeviceValue(c.bytes);
        const AddStrRules::Fields opening = rules.Opening();
        EXPECT_EQ(opening.text, c.text);
        EXPECT_EQ(opening.tab, c.tab);
        EXPECT_EQ(opening.lineBreak, c.lineBreak);
        EXPECT_EQ(opening.hex, c.hex);
        // OK at once sends what the device holds.
        const DialogOutcome outcome = rules.Accept(opening);
        ASSERT_TRUE(outcome.output);
        const std::vector<std::uint8_t> wire = HexToBytes(outcome.output->text);
        EXPECT_EQ(outcome.output->hex ? std::string(wire.begin(), wire.end()) : outcome.output->text, c.bytes);
    }
    AddStrRules offline;
    offline.SetDeviceValue("X");
    offline.SetDeviceValue(std::nullopt);
    offline.SetInitialText("前缀: ABC\\t");
    EXPECT_EQ(offline.Opening().text, "ABC") << "without the device's bytes, the item text";
}

TEST(AddStrRules, AcceptAppendsLimitsAndChecks)
{
    const std::string forty(40, 'a'), hex80(80, 'A'), ones78(78, '1');
    struct {
        AddStrRules::Fields in;
        std::string message, text;
        bool hex, emptied;
    } cases[] = {
        {{"ABC"}, "", "ABC", false, false},
        {{"ABC", true, true}, "", "ABC\t\r\n", false, false},
        {{""}, "", "", false, false},
        {{"", false, false, true}, "", "", false, false},  // empty hex falls back to text
        {{std::string(39, 'a'), true}, "", std::string(39, 'a') + "\t", false, false},
        {{forty}, "", forty, false, false},
        {{forty, true}, t::kAddStrTooLong, "", false, true},
        {{std::string(41, 'a')}, t::kAddStrTooLong, "", false, true},
        {{"\x01\x7f\xc3\xa9"}, "", "\x01\x7f\xc3\xa9", false, false},  // below 256, é included
        {{"中"}, t::kAddStrNotAscii, "", false, true},
        {{"a中"}, t::kAddStrNotAscii, "", false, true},
        {{hex80, false, false, true}, "", hex80, true, false},
        {{hex80 + "00", false, false, true}, t::kAddStrTooLong, "", true, true},
        {{"ABC", false, false, true}, t::kAddStrHexLength, "", true, false},
        {{"ABCG", false, false, true}, t::kIllegalHex, "", true, false},
        {{"\xc3\xa9", false, false, true}, t::kAddStrHexLength, "", true, false},  // é is one character
        {{"0a1B", true, true, true}, "", "0a1B090D0A", true, false},
        {{"", true, false, true}, "", "09", true, false},
        {{ones78, true, false, true}, "", ones78 + "09", true, false},
        {{ones78, true, true, true}, t::kAddStrTooLong, "", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("text '" + c.in.text + "'");
        AddStrRules rules;
        const DialogOutcome outcome = rules.Accept(c.in);
        ExpectOutcome(outcome, c.message, c.text, c.emptied);
        if (outcome.output) {
            EXPECT_EQ(outcome.output->hex, c.hex);
            EXPECT_EQ(rules.ResultText(), c.text);
        }
        EXPECT_EQ(rules.IsHex(), c.hex);
    }
}

// ---- M1 block dialog: the command, or the first failing check

TEST(M1BlockRules, CommandOrFirstFailure)
{
    struct {
        M1BlockRules::Fields in;
        const char* message;
        const char* command;
    } cases[] = {
        {{false, "1", "2", "A0A1A2A3A4A5"}, "", "6006A0A1A2A3A4A5"},
        {{true, "15", "0", "ab12"}, "", "613Cab1200000000"},
        {{false, "0", "0", "FF"}, "", "6000FF0000000000"},
        {{false, "3abc", "1x", "ffffffffffff"}, "", "600Dffffffffffff"},  // leading digits count
        {{false, "", "", ""}, t::kM1SectorEmpty, ""},
        {{false, "16", "", ""}, t::kM1SectorWrong, ""},
        {{false, "-1", "0", "FF"}, t::kM1SectorWrong, ""},
        {{false, "4294967311", "0", "FF"}, t::kM1SectorWrong, ""},
        {{false, "15", "", ""}, t::kM1BlockEmpty, ""},
        {{false, "15", "3", "FF"}, t::kM1BlockWrong, ""},
        {{false, "15", "-1", "FF"}, t::kM1BlockWrong, ""},
        {{false, "15", "2", ""}, t::kM1KeyFormat, ""},
        {{false, "15", "2", "ABC"}, t::kM1KeyFormat, ""},
        {{false, "15", "2", "A0A1A2A3A4A5A6"}, t::kM1KeyFormat, ""},
        {{false, "15", "2", "A0A1A2A3A4AG"}, t::kIllegalHex, ""},
        {{false, "15", "2", "中文"}, t::kIllegalHex, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in.sector + "/" + c.in.block + "/" + c.in.key);
        ExpectOutcome(M1BlockRules::Accept(c.in), c.message, c.command, false);
    }
}

// ---- interval dialog

TEST(DiffResultTimeRules, LimitsAndFormatsPerMode)
{
    struct {
        int mode;
        std::string field, result, display;
    } cases[] = {
        // empty result: refused
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
    for (const auto& c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode) + " field '" + c.field + "'");
        DiffResultTimeRules rules;
        rules.SetMode(c.mode);
        const DialogOutcome outcome = rules.Accept(c.field);
        ExpectOutcome(outcome, c.result.empty() ? t::kValueOutOfRange : "", c.result, false);
        if (outcome.output) {
            EXPECT_EQ(outcome.output->captionText, c.display);
            EXPECT_EQ(rules.ResultText(), c.result);
        }
    }
}

TEST(DiffResultTimeRules, ModeChoosesTitlePromptAndLimit)
{
    struct {
        int mode;
        const char* title;
        const char* prompt;
        long long maximum;
    } cases[] = {
        {0, "相同译码结果时间间隔设置", nullptr, 65535},
        {1, "不同译码结果时间间隔设置", "译码不同结果时间间隔，有效值为0－65535，单位ms：", 65535},
        {3, "NFC不同结果时间间隔设置", nullptr, 65535},
        {4, "NFC相同结果时间间隔设置", nullptr, 65535},
        {5, "写保持寄存器数量", "设置写保持寄存器数量，有效值为0－1024：", 1024},
        {6, "写保持寄存器起始地址", "设置写保持寄存器起止地址，有效值为0－65535：", 65535},
        {7, "服务端标识", "Modbus RTU 访问服务地址标识 0-255：", 255},
    };
    for (const auto& c : cases) {
        DiffResultTimeRules rules;
        rules.SetMode(c.mode);
        EXPECT_STREQ(rules.Title(), c.title);
        if (c.prompt) {
            EXPECT_STREQ(rules.Prompt(), c.prompt);
        }
        EXPECT_EQ(rules.Maximum(), c.maximum) << c.mode;
    }
    // An unknown mode keeps the last captions and limit, and counts as milliseconds.
    DiffResultTimeRules rules;
    rules.SetMode(5);
    rules.SetMode(2);
    EXPECT_STREQ(rules.Title(), "写保持寄存器数量");
    EXPECT_EQ(rules.Maximum(), 1024);
    ASSERT_TRUE(rules.Accept("10").output);
    EXPECT_EQ(rules.DisplayText(), "10 ms");
    // A refusal keeps the last result.
    EXPECT_FALSE(rules.Accept("70000").output);
    EXPECT_EQ(rules.ResultText(), "000A");
    EXPECT_EQ(rules.DisplayText(), "10 ms");
}

// ---- time-out, exposure and multi-code time-out entries

class WordEntryTest : public ::testing::TestWithParam<std::pair<const char*, bool>> {};

TEST_P(WordEntryTest, AcceptsUpTo65535AsLowerCaseHex)
{
    const auto [message, empties] = GetParam();
    WordEntry entry(message, empties);
    EXPECT_EQ(entry.OpeningField(), "");
    entry.SetItemText("触发超时: 3000");
    EXPECT_EQ(entry.OpeningField(), "3000");
    const std::pair<const char*, const char*> accepted[] = {
        {"3000", "0bb8"}, {"65535", "ffff"}, {"", "0000"}, {"0", "0000"}};
    for (const auto& [field, result] : accepted) {
        ExpectOutcome(entry.Accept(field), "", result, false);
        EXPECT_EQ(entry.ResultText(), result);
    }
    EXPECT_EQ(entry.Value(), 0);
    ASSERT_TRUE(entry.Accept("3000").output);
    for (const char* refused : {"65536", "99999", "-1", "123456789012345678901234"})
        ExpectOutcome(entry.Accept(refused), message, "", empties);
    // A refusal leaves the last accepted result for the next showing.
    EXPECT_EQ(entry.ResultText(), "0bb8");
    EXPECT_EQ(entry.Value(), 3000);
}

INSTANTIATE_TEST_SUITE_P(TimeOutsAndExposure, WordEntryTest,
                         ::testing::Values(std::pair{t::kTimeoutOverLimit, false},   // trigger/decode/sleep
                                           std::pair{t::kSpeedOverLimit, false},     // exposure
                                           std::pair{t::kTimeoutOverLimit, true}));  // multi-code time-out

TEST(ExTimeSetCaption, ModeZeroAndUnknownModesAreTheTriggerTimeOut)
{
    struct {
        int mode;
        const char* title;
        const char* prompt;
    } cases[] = {
        {0, "触发超时设置", "触发模式下的超时限制，有效值为0－65535毫秒："},
        {1, "命令解码超时设置", "命令解码超时时长，有效值为0－65535毫秒："},
        {2, "进入休眠时长设置", "进入休眠状态等待时长，有效值为0－65535毫秒："},
        {9, "触发超时设置", "触发模式下的超时限制，有效值为0－65535毫秒："},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(t::ExTimeSetCaption(c.mode).title, c.title);
        EXPECT_STREQ(t::ExTimeSetCaption(c.mode).prompt, c.prompt);
    }
}

// ---- multi-code dialogs

TEST(CodeNumRules, OpeningArrowsAndLimit)
{
    CodeNumRules rules;
    EXPECT_EQ(rules.OpeningField(), "2");
    rules.SetItemText("条码输出个数");
    EXPECT_EQ(rules.OpeningField(), "2");
    rules.SetItemText("条码输出个数: 4");
    EXPECT_EQ(rules.OpeningField(), "4");
    // The arrows stay within 2 to 6.
    const std::tuple<const char*, bool, const char*> steps[] = {
        {"2", false, "2"}, {"3", false, "2"}, {"0", false, "2"}, {"2", true, "3"}, {"3", true, "4"},
        {"4", true, "5"},  {"5", true, "6"},  {"6", true, "6"},  {"9", true, "6"}, {"9", false, "8"},
    };
    for (const auto& [field, up, result] : steps)
        EXPECT_EQ(CodeNumRules::Step(field, up), result) << field << up;
    EXPECT_EQ(rules.Count(), 0);
    const DialogOutcome five = rules.Accept("5");
    ASSERT_TRUE(five.output);
    EXPECT_EQ(five.output->number, 5);
    ASSERT_TRUE(rules.Accept("6").output);
    for (const char* refused : {"7", "9", "-"})
        ExpectOutcome(rules.Accept(refused), t::kCodeNumOverLimit, "", false);
    EXPECT_EQ(rules.Count(), 6);
}

TEST(MbcSpStrRules, EightCharactersPassNineAreRefusedAndEmptied)
{
    MbcSpStrRules rules;
    EXPECT_EQ(rules.OpeningField(), "");
    rules.SetItemText("分隔符: ;;");
    EXPECT_EQ(rules.OpeningField(), ";;");
    ExpectOutcome(rules.Accept(""), "", "", false);
    ExpectOutcome(rules.Accept("中文abcdef"), "", "中文abcdef", false);
    ExpectOutcome(rules.Accept("123456789"), t::kMbcSpStrTooLong, "", true);
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
    struct {
        const char* item;
        const char* name;
    } cases[] = {
        // empty name: any order
        {"顺序1* : CODE128", "CODE128"},
        {"顺序1: GS1 DataBar LIMITED", "GS1 DataBar LIMITED"},
        {"顺序1: UNKNOWN", ""},
        {"顺序1:", ""} /* colon last */,
        {"顺序1: ", ""},
        {":CODE128", ""} /* colon first */,
        {"顺序1", ""},
    };
    for (const auto& c : cases) {
        MbcStrOrderRules rules;
        rules.SetItemText(c.item);
        const auto opening = rules.Open();
        EXPECT_EQ(opening.specifiedOrder, *c.name != '\0') << c.item;
        EXPECT_EQ(opening.selectedName, c.name) << c.item;
    }
}

TEST(MbcStrOrderRules, OkGivesTheCodeAndAnUnknownNameIsRefused)
{
    MbcStrOrderRules rules;
    const DialogOutcome msi = rules.Accept(false, "MSI");
    ASSERT_TRUE(msi.output);
    EXPECT_EQ(msi.output->number, 21);
    EXPECT_EQ(rules.Accept(false, "  CODE128 ").output->number, 12);
    for (const char* unknown : {"NOT A CODE", "code128", ""}) {
        SCOPED_TRACE(unknown);
        ExpectOutcome(rules.Accept(false, unknown), t::kUnknownSymbology, "", false);
        EXPECT_EQ(rules.Code(), 12) << "the refusal changes nothing";
    }
    EXPECT_EQ(rules.Accept(true, "NOT A CODE").output->number, 0) << "any order ignores the list";
    rules.Accept(false, "AZTEC");
    rules.SetItemText("顺序: MSI");
    rules.Open();  // opening does not change the stored code
    EXPECT_EQ(rules.Code(), 5);
    rules.ChooseAnyOrder();
    EXPECT_EQ(rules.Code(), 0);
}

}  // namespace
}  // namespace quillon
