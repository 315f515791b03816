#include "catalogue/SelectionApplier.h"
#include "support/FakeDialogs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillon {
namespace {

using test::FakeDialogs;

struct Event {
    std::string where;
    int index;
    int parent;
    ValueTriple value;
    std::string caption;
};

class RecordingTargets : public IConfigurationTarget, public ISettingSender {
public:
    void AddCommandEntry(int recordIndex, int parentIndex, const ValueTriple& value, const std::string& caption) override
    {
        events.push_back({"document", recordIndex, parentIndex, value, caption});
    }
    void SendSettingFrame(int recordIndex, const ValueTriple& value) override
    {
        events.push_back({"device", recordIndex, -1, value, replyRouteAtSend ? std::to_string(*replyRouteAtSend) : ""});
    }
    std::vector<Event> events;
    const int* replyRouteAtSend = nullptr;
};

// A catalogue as the loader builds it: group, sub-group, settings, options.
class SelectionApplierTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        group = Add({"", "读码设置", "", "", 1, "", ""}, kNoTreeItem, kImageGroup, kImageGroupSelected);
        subGroup = tree.InsertItem("子组", kImageSetting, kImageSettingSelected, group);
        tree.SetItemData(subGroup, 0);
        setting = Add({"子组", "输出个数", "", "", 2, "21", "3181"}, subGroup, kImageSetting, kImageSettingSelected);
        countOption = Add({"子组", "设置个数", "个数说明", "318100", 3, "21", ""}, setting, kImageOption, kImageOption);
        plainOption = Add({"子组", "开启", "开启说明", "31800001", 3, "21", ""}, setting, kImageOption, kImageOption);
        textOption = Add({"子组", "前缀", "", "51C1", 3, "21", ""}, setting, kImageOption, kImageOption);
        intervalOption = Add({"子组", "间隔", "", "5042", 3, "21", ""}, setting, kImageOption, kImageOption);
        marker = Add({"", "自定义", "", "", 2, "21", "8265"}, group, kImageSetting, kImageSettingSelected);
        stray = tree.InsertItem("坏项", kImageOption, kImageOption, setting);
        tree.SetItemData(stray, 99);
    }

    TreeItemId Add(TreeNodeInfo record, TreeItemId parent, int image, int selected)
    {
        const TreeItemId id = tree.InsertItem(record.name, image, selected, parent);
        record.treeItem = id;
        nodes.push_back(record);
        tree.SetItemData(id, static_cast<int>(nodes.size() - 1));
        return id;
    }

    ApplyResult Apply(TreeItemId item, bool document, bool device)
    {
        return applier.Apply(nodes, tree, item, ApplyRequest{document, device}, replyRoute);
    }

    std::vector<TreeNodeInfo> nodes;
    CatalogueTree tree;
    TreeItemId group{}, subGroup{}, setting{}, countOption{}, plainOption{}, textOption{}, intervalOption{}, marker{},
        stray{};
    FakeDialogs dialogs;
    RecordingTargets targets;
    std::int64_t now = 1000;
    SelectionApplier applier{dialogs, targets, targets, [this] { return now; }};
    int replyRoute = -1;
};

TEST_F(SelectionApplierTest, GroupsSettingsSubGroupsAndStrayItemsDoNothing)
{
    for (TreeItemId item : {group, subGroup, setting, stray, kNoTreeItem, TreeItemId{500}}) {
        const ApplyResult result = Apply(item, true, true);
        EXPECT_FALSE(result.documentChanged || result.sent || result.revealCustomCode) << item;
    }
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_TRUE(targets.events.empty());
    EXPECT_EQ(replyRoute, -1);
}

TEST_F(SelectionApplierTest, OptionWithoutDialogGoesToTheDocumentWithAnEmptyValue)
{
    const ApplyResult result = Apply(plainOption, true, false);
    EXPECT_TRUE(result.documentChanged);
    EXPECT_FALSE(result.sent);
    EXPECT_TRUE(dialogs.calls.empty());
    ASSERT_EQ(targets.events.size(), 1u);
    const Event& e = targets.events[0];
    EXPECT_EQ(e.where, "document");
    EXPECT_EQ(e.index, 3);   // records: group 0, setting 1, options 2.. (the sub-group has none)
    EXPECT_EQ(e.parent, 1);
    EXPECT_EQ(e.value.valueText, "");
    EXPECT_EQ(e.value.valueLength, 0);
    EXPECT_EQ(e.value.valueKind, 0);
    EXPECT_EQ(replyRoute, -1);
}

TEST_F(SelectionApplierTest, OutputCountFiveBecomes0005)
{
    DialogOutput five;
    five.number = 5;
    dialogs.answers.push_back(five);
    Apply(countOption, true, false);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].dialog, ParameterDialog::CodeNum);
    EXPECT_EQ(dialogs.calls[0].mode, -1);
    EXPECT_EQ(dialogs.calls[0].optionText, "设置个数");
    ASSERT_EQ(targets.events.size(), 1u);
    EXPECT_EQ(targets.events[0].value.valueText, "0005");
    EXPECT_EQ(targets.events[0].value.valueKind, 2);
    EXPECT_EQ(targets.events[0].value.valueLength, 2);
}

TEST_F(SelectionApplierTest, TextWithoutHexIsKindOneMeasuredInCharacters)
{
    DialogOutput text;
    text.text = "AB码";
    dialogs.answers.push_back(text);
    Apply(textOption, true, false);
    ASSERT_EQ(targets.events.size(), 1u);
    EXPECT_EQ(targets.events[0].value.valueKind, 1);
    EXPECT_EQ(targets.events[0].value.valueLength, 3);
}

TEST_F(SelectionApplierTest, IntervalOpensInModeSevenAndCarriesItsCaption)
{
    DialogOutput interval;
    interval.text = "0064";
    interval.captionText = "100ms";
    dialogs.answers.push_back(interval);
    Apply(intervalOption, true, false);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].dialog, ParameterDialog::DiffResultTime);
    EXPECT_EQ(dialogs.calls[0].mode, 7);
    EXPECT_EQ(dialogs.calls[0].optionText, "");
    ASSERT_EQ(targets.events.size(), 1u);
    EXPECT_EQ(targets.events[0].caption, "100ms");
    EXPECT_EQ(targets.events[0].value.valueLength, 2);
}

TEST_F(SelectionApplierTest, CancelAppliesNothing)
{
    const ApplyResult result = Apply(countOption, true, true);
    EXPECT_EQ(dialogs.calls.size(), 1u);
    EXPECT_FALSE(result.documentChanged || result.sent);
    EXPECT_TRUE(targets.events.empty());
    EXPECT_EQ(replyRoute, -1);
}

TEST_F(SelectionApplierTest, BothBoxesAddThenSendWithReplyRouteOne)
{
    targets.replyRouteAtSend = &replyRoute;
    const ApplyResult result = Apply(plainOption, true, true);
    EXPECT_TRUE(result.documentChanged);
    EXPECT_TRUE(result.sent);
    ASSERT_EQ(targets.events.size(), 2u);
    EXPECT_EQ(targets.events[0].where, "document");
    EXPECT_EQ(targets.events[1].where, "device");
    EXPECT_EQ(targets.events[1].index, 3);
    EXPECT_EQ(targets.events[1].caption, "1");  // the route was set before the frame went out
    EXPECT_EQ(replyRoute, 1);
}

TEST_F(SelectionApplierTest, NeitherBoxStillAsksThenDoesNothing)
{
    DialogOutput five;
    five.number = 5;
    dialogs.answers.push_back(five);
    const ApplyResult result = Apply(countOption, false, false);
    EXPECT_EQ(dialogs.calls.size(), 1u);
    EXPECT_FALSE(result.documentChanged || result.sent);
    EXPECT_TRUE(targets.events.empty());
}

TEST_F(SelectionApplierTest, MarkerSettingRevealsOnlyWithinTheWindow)
{
    EXPECT_FALSE(Apply(marker, true, true).revealCustomCode);
    now += 399;
    EXPECT_TRUE(Apply(marker, true, true).revealCustomCode);
    now += 400;
    EXPECT_FALSE(Apply(marker, true, true).revealCustomCode);  // too slow: back to idle
    now += 10;
    EXPECT_FALSE(Apply(marker, true, true).revealCustomCode);  // starts a new measurement
    now += 10;
    EXPECT_TRUE(Apply(marker, true, true).revealCustomCode);
    EXPECT_TRUE(targets.events.empty());
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(SelectionApplierTest, OptionInfoOnlyForOptions)
{
    EXPECT_EQ(GetOptionInfo(nodes, 2), "个数说明");
    EXPECT_EQ(GetOptionInfo(nodes, 3), "开启说明");
    EXPECT_EQ(GetOptionInfo(nodes, 0), "");
    EXPECT_EQ(GetOptionInfo(nodes, 1), "");
    EXPECT_EQ(GetOptionInfo(nodes, -1), "");
    EXPECT_EQ(GetOptionInfo(nodes, 99), "");
}

TEST(CustomCodeGestureTest, TimelineOfDoubleClicks)
{
    std::int64_t now = 0;
    CustomCodeGesture gesture([&now] { return now; });
    struct Step {
        std::int64_t advance;
        bool reveals;
        std::int64_t state;
    };
    const Step steps[] = {
        {5000, false, 0},  // idle -> armed
        {399, true, 399},  // just inside the window
        {100, true, 100},  // still armed: every quick one reveals
        {400, false, -1},  // exactly 400 is too slow
        {1, false, 0},     // a new measurement starts
        {0, true, 0},      // same millisecond counts as quick
    };
    for (const Step& step : steps) {
        now += step.advance;
        EXPECT_EQ(gesture.OnDoubleClick(), step.reveals) << "at " << now;
        EXPECT_EQ(gesture.State(), step.state) << "at " << now;
    }
    gesture.Reset();
    EXPECT_EQ(gesture.State(), -1);
    now += 1;
    EXPECT_FALSE(gesture.OnDoubleClick());
}

TEST(CustomCodeGestureTest, DefaultClockIsMonotonic)
{
    const auto a = MonotonicMilliseconds();
    const auto b = MonotonicMilliseconds();
    EXPECT_GE(b, a);
}

}  // namespace
}  // namespace quillon
