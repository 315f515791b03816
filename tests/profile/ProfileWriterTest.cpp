#include "profile/ProfileWriter.h"
#include "profile/BundledCatalogue.h"
#include "profile/OptionEntries.h"
#include "profile/ProfileReader.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

class ProfileWriterTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(catalogue.status, 0); }
    test::BundledCatalogue catalogue;
};

TEST_F(ProfileWriterTest, WritesFormatVersionAndEachSettingsKeysInOneOrder)
{
    const auto beep = NamedSetting(catalogue.doc.catalogue.treeNodes, "61820000", "3000");
    ASSERT_TRUE(beep);
    const std::string text = ProfileText({*beep, {"", "", "", "414100", std::nullopt}});
    const std::string expected = "{\n"
                                 "  \"format\": \"quillon-profile\",\n"
                                 "  \"version\": 1,\n"
                                 "  \"settings\": [\n"
                                 "    {\n"
                                 "      \"code\": \"61820000\",\n"
                                 "      \"value\": \"3000\",\n"
                                 "      \"group\": \"" +
                                 beep->group +
                                 "\",\n"
                                 "      \"setting\": \"" +
                                 beep->setting +
                                 "\",\n"
                                 "      \"option\": \"" +
                                 beep->option +
                                 "\"\n"
                                 "    },\n"
                                 "    {\n"
                                 "      \"code\": \"414100\",\n"
                                 "      \"group\": \"\",\n"
                                 "      \"setting\": \"\",\n"
                                 "      \"option\": \"\"\n"
                                 "    }\n"
                                 "  ]\n"
                                 "}\n";
    EXPECT_EQ(text, expected);
    EXPECT_FALSE(beep->group.empty());
    EXPECT_FALSE(beep->setting.empty());
    EXPECT_FALSE(beep->option.empty());
}

TEST_F(ProfileWriterTest, NamedSettingKnowsOnlyOptionsOfTheCatalogue)
{
    EXPECT_FALSE(NamedSetting(catalogue.doc.catalogue.treeNodes, "ZZ9900", std::nullopt));
}

// What the window saves is what opening gives back: the document's options
// with their dialogs' values, the ADD button's entries left out.
TEST_F(ProfileWriterTest, DocumentSavedAndReadBackGivesTheSameSettings)
{
    CQuillonDoc& doc = catalogue.doc;
    OptionEntries options(doc, catalogue.tree);
    ASSERT_EQ(options.Add("414100", std::nullopt), "");
    ASSERT_EQ(options.Add("61820000", "3000"), "");
    doc.AddEntry("ABC123", "自定义");
    ASSERT_EQ(options.Add("51C10000", "hex:414243"), "");
    ASSERT_EQ(options.Add("31810000", "5"), "");

    const std::vector<ProfileSetting> saved = DocumentProfile(doc);
    ASSERT_EQ(saved.size(), 4u);
    EXPECT_EQ(saved[1].value, std::optional<std::string>("3000"));
    EXPECT_EQ(saved[2].value, std::optional<std::string>("hex:414243"));

    const test::TempDir dir;
    const std::string path = (dir.Path() / "saved.json").string();
    ASSERT_EQ(WriteProfile(path, saved), "");
    const ProfileRead read = ReadProfile(path, doc.catalogue.treeNodes);
    ASSERT_EQ(read.error, "");
    EXPECT_EQ(read.settings, saved);

    CQuillonDoc again;
    again.catalogue = doc.catalogue;
    OptionEntries reopened(again, catalogue.tree);
    for (const ProfileSetting& setting : read.settings)
        ASSERT_EQ(reopened.Add(setting.code, setting.value), "");
    ASSERT_EQ(again.entries.size(), 4u);
    for (std::size_t i = 0, j = 0; i < doc.entries.size(); ++i) {
        if (doc.entries[i].optionCode.empty())
            continue;
        EXPECT_EQ(again.entries[j].codeText, doc.entries[i].codeText);
        EXPECT_EQ(again.entries[j++].caption, doc.entries[i].caption);
    }
}

TEST_F(ProfileWriterTest, OptionEntriesTellsWhyAnEntryWasNotAdded)
{
    OptionEntries options(catalogue.doc, catalogue.tree);
    EXPECT_EQ(options.Add("ZZ9900", std::nullopt), "no option with code ZZ9900 in the catalogue");
    EXPECT_EQ(options.Add("414100", "1"), "takes no value");
    EXPECT_EQ(options.Add("61820000", "70000"), "触发超时超过最大限制！");
    EXPECT_EQ(options.Add("61820000", std::nullopt), "该选项需要参数，请写成 代码=参数");
    EXPECT_TRUE(catalogue.doc.entries.empty());
}

}  // namespace
}  // namespace quillon
