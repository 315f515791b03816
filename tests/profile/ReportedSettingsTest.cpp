#include "profile/ReportedSettings.h"
#include "base/HexText.h"
#include "catalogue/OptionAnswer.h"
#include "device/DeviceSettingMarks.h"
#include "device/FrameBuilder.h"
#include "device/FrameLength.h"
#include "dialogs/DialogInputs.h"
#include "profile/BundledCatalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

namespace quillon {
namespace {

// A device as the read-back shows it: each reply frame marks the tree and is
// kept by its setting key, as quillon-cli's link keeps them.
class ReportedSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(catalogue.status, 0); }

    const std::vector<TreeNodeInfo>& Nodes() const { return catalogue.doc.catalogue.treeNodes; }

    // The frame the device answers a read with after this write: the setting
    // frame with the read-back's class.
    std::string ReplyAfterWriting(const std::string& code, const std::optional<std::string>& value) const
    {
        const OptionAnswer answer = AnswerOption(Nodes(), code, value);
        EXPECT_TRUE(answer) << code << ": " << answer.reason;
        if (!answer)
            return {};
        auto frame = FrameBuilder::SettingFrame(*answer.option, answer.applied.value);
        EXPECT_TRUE(frame);
        (*frame)[0] = 0x24;
        std::string hex = ToHex(*frame);
        std::ranges::transform(hex, hex.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        return hex;
    }

    void DeviceReports(const std::string& frame)
    {
        marks.ShowDeviceSetting(frame, FrameKind(frame));
        frames[frame.substr(2, 4)] = frame;
    }

    DeviceReport Report() const { return {Nodes(), catalogue.tree, frames}; }

    test::BundledCatalogue catalogue;
    DeviceSettingMarks marks{catalogue.doc.catalogue.treeNodes, catalogue.tree};
    std::map<std::string, std::string> frames;
};

// Whatever a dialog sent, the device's bytes give back an input that sends
// them again, including the second byte of two-byte values the tree leaves out.
TEST_F(ReportedSettingsTest, TheDevicesBytesGiveBackTheInputOfEveryDialog)
{
    const struct {
        const char* code;
        const char* value;
        const char* input;  // what reading the device gives
    } cases[] = {
        {"61820000", "3000", "3000"},  // a time, two bytes (the tree shows 11)
        {"64820000", "500", "500"},    // an interval, as typed hex
        {"31810000", "5", "5"},        // a count, decimal digits read as hex
        {"31850000", "QR", "QR"},      // a symbology by name
        {"31850000", "any", "any"},
        {"71810000", "100", "100"},                                // an exposure
        {"51C10000", "AB", "AB"},                                  // text
        {"51C10000", "hex:0D0A", "hex:0D0A"},                      // bytes no one reads as text
        {"51C10000", "hex:4142", "AB"},                            // readable bytes come back as text
        {"51C10000", "", ""},                                      // nothing
        {"31C40000", ";", ";"},                                    // a separator
        {"45CE0000", "B:3:2:A1B2C3D4E5F6", "B:3:2:A1B2C3D4E5F6"},  // an M1 block
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.code) + "=" + c.value);
        const std::string reply = ReplyAfterWriting(c.code, std::string(c.value));
        const TreeNodeInfo* option = FindOption(Nodes(), c.code);
        ASSERT_NE(option, nullptr);
        EXPECT_EQ(DeviceValueInput(Nodes(), *option, reply), std::optional<std::string>(c.input));
    }
    // Bytes no input of the dialog sends (a count of 9 is over its limit).
    EXPECT_EQ(DeviceValueInput(Nodes(), *FindOption(Nodes(), "31810000"), "2431810009"), std::nullopt);
}

TEST_F(ReportedSettingsTest, ProfileOfTheDeviceAndWhereAProfileDiffers)
{
    DeviceReports(ReplyAfterWriting("414201", std::nullopt));  // 校验方式: odd parity
    DeviceReports(ReplyAfterWriting("61820000", "3000"));
    DeviceReports(ReplyAfterWriting("51C10000", "AB"));
    DeviceReports("2431810009");  // a count no dialog input gives

    const ReportedProfile device = ProfileOfDevice(Report());
    const auto find = [&](const std::string& code) {
        return std::ranges::find(device.settings, code, &ProfileSetting::code);
    };
    ASSERT_NE(find("414201"), device.settings.end());
    EXPECT_EQ(find("414201")->value, std::nullopt);
    ASSERT_NE(find("61820000"), device.settings.end());
    EXPECT_EQ(find("61820000")->value, std::optional<std::string>("3000"));
    ASSERT_NE(find("51C10000"), device.settings.end());
    EXPECT_EQ(find("51C10000")->value, std::optional<std::string>("AB"));
    EXPECT_EQ(find("31810000"), device.settings.end());
    EXPECT_EQ(device.leftOut, std::vector<std::string>{"31810000"});
    EXPECT_TRUE(DifferencesFromDevice(device.settings, Report()).empty());

    const TreeNodeInfo& odd = *FindOption(Nodes(), "414201");
    const TreeNodeInfo& even = *FindOption(Nodes(), "414202");
    const std::vector<ProfileSetting> wanted = {
        {"", "", "", "414202", std::nullopt},  // another option of the same setting
        {"", "", "", "61820000", "2000"},      // another value
        {"", "", "", "51C10000", "AB"},        // the same
        {"", "", "", "51C20000", "XY"},        // a setting the device did not report
        {"", "", "", "31810000", "5"},         // bytes no input gives
    };
    const std::vector<SettingDifference> differences = DifferencesFromDevice(wanted, Report());
    ASSERT_EQ(differences.size(), 4u);
    EXPECT_EQ(differences[0].code, "414202");
    EXPECT_EQ(differences[0].device, odd.name);
    EXPECT_EQ(differences[0].profile, even.name);
    EXPECT_FALSE(differences[0].setting.empty());
    EXPECT_EQ(differences[1].code, "61820000");
    EXPECT_EQ(differences[1].device, "3000");
    EXPECT_EQ(differences[1].profile, "2000");
    EXPECT_EQ(differences[2].code, "51C20000");
    EXPECT_EQ(differences[2].device, kNotReported);
    EXPECT_EQ(differences[3].code, "31810000");
    EXPECT_EQ(differences[3].device, "bytes 0009");
    EXPECT_EQ(differences[3].profile, "5");
}

}  // namespace
}  // namespace quillon
