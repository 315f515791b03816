#include "base/Language.h"
#include "base/ShownText.h"

#include <gtest/gtest.h>

#include <string>

namespace quillon {
namespace {

TEST(Language, TheFirstLocaleVariableSetDecidesAndOnlyEnglishLeavesTheOriginal)
{
    const struct {
        const char *lcAll, *lcMessages, *lang;
        Language language;
    } cases[] = {
        {nullptr, nullptr, "en_GB.UTF-8", Language::English},
        {nullptr, nullptr, "en", Language::English},
        {nullptr, nullptr, "en@shaw", Language::English},
        {nullptr, nullptr, "zh_CN.UTF-8", Language::Chinese},
        {nullptr, nullptr, "C", Language::Chinese},
        {nullptr, nullptr, "POSIX", Language::Chinese},
        {nullptr, nullptr, "de_DE.UTF-8", Language::Chinese},  // no German texts
        {nullptr, nullptr, "eo", Language::Chinese},
        {nullptr, nullptr, "enx_XX", Language::Chinese},
        {nullptr, nullptr, nullptr, Language::Chinese},
        {"zh_CN.UTF-8", "en_US.UTF-8", "en_US.UTF-8", Language::Chinese},
        {"", "en_US.UTF-8", "zh_CN.UTF-8", Language::English},  // empty counts as unset
        {nullptr, "C", "en_US.UTF-8", Language::Chinese},
        {"en_US.UTF-8", "zh_CN.UTF-8", nullptr, Language::English},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LanguageOfLocale(c.lcAll, c.lcMessages, c.lang), c.language)
            << (c.lcAll ? c.lcAll : "-") << " " << (c.lcMessages ? c.lcMessages : "-") << " "
            << (c.lang ? c.lang : "-");
    EXPECT_EQ(LanguageNamed("en"), Language::English);
    EXPECT_EQ(LanguageNamed("zh"), Language::Chinese);
    EXPECT_EQ(LanguageNamed("EN"), std::nullopt);
    EXPECT_EQ(ChooseLanguage(Language::English), Language::English);
}

TEST(ShownText, WholeTextsThenPiecesLongestFirstWithTheDataBetweenUnchanged)
{
    TextTranslations english;
    english.Add("串口打开失败！", "Failed to open the serial port!");
    english.Add("没有打开 ", "No permission to open ");
    english.Add(" 的权限：该设备属于 ", ": the device belongs to the group ");
    english.Add("打开 ", "Open ");
    english.Add("，联机", ", online");
    english.Add("数据提取中", "Extracting data");
    english.Add("第 %1 页 / 共 %2 页", "Page %1 of %2");
    english.Add("相同", "相同");  // a translation that is its source adds nothing
    const struct {
        const char *shown, *expected;
    } cases[] = {
        {"串口打开失败！", "Failed to open the serial port!"},
        {"没有打开 /dev/ttyUSB0 的权限：该设备属于 dialout",
         "No permission to open /dev/ttyUSB0: the device belongs to the group dialout"},
        {"COM9，联机", "COM9, online"},
        {"数据提取中  42%", "Extracting data  42%"},
        {"ok, 2 written", "ok, 2 written"},
        {"端口：设备（COM3）", "端口: 设备 (COM3)"},  // untranslated words stay; their marks become ASCII
        {"相同", "相同"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(english.Translate(c.shown), c.expected) << c.shown;
    EXPECT_EQ(Filled(english.Translate("第 %1 页 / 共 %2 页"), {"2", "5"}), "Page 2 of 5");

    EXPECT_EQ(Shown("串口打开失败！"), "串口打开失败！");  // as written until translations are set
    SetShownTranslations(&english);
    EXPECT_EQ(Shown("串口打开失败！"), "Failed to open the serial port!");
    SetShownTranslations(nullptr);
    EXPECT_TRUE(TextTranslations().Translate("串口打开失败！") == "串口打开失败！");
}

TEST(ShownText, PlaceholdersFilledInTheTranslationsOrderAndOthersLeftAlone)
{
    EXPECT_EQ(Filled("%2 of %1", {"a", "b"}), "b of a");
    EXPECT_EQ(Filled("%1%% %3 %", {"9"}), "9%% %3 %");
    EXPECT_EQ(Filled("第 %1 页 / 共 %2 页", {"1", "3"}), "第 1 页 / 共 3 页");
}

}  // namespace
}  // namespace quillon
