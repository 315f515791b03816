#include "catalogue/SelectionApplier.h"
#include "support/FakeDialogs.h"
#include "support/RecordingTargets.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillon {
namespace {

using Strings = std::vector<std::string>;

// A catalogue as the loader builds it: group, sub-group, setting, options.
// What a double-click asks and applies per dialog, and the custom-code
// marker, go through the real window in MainFrameTest.
class SelectionApplierTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        group = Add({"", "读码设置", "", "", 1, "", ""}, kNoTreeItem, kImageGroup);
        subGroup = tree.InsertItem("子组", kImageSetting, kImageSettingSelected, group);
        tree.SetItemData(subGroup, 0);
        setting = Add({"子组", "输出个数", "", "", 2, "21", "3181"}, subGroup, kImageSetting);
        countOption = Add({"子组", "设置个数", "个数说明", "318100", 3, "21", ""}, setting, kImageOption);
        plainOption = Add({"子组", "开启", "开启说明", "31800001", 3, "21", ""}, setting, kImageOption);
        stray = tree.InsertItem("坏项", kImageOption, kImageOption, setting);
        tree.SetItemData(stray, 99);
    }

    TreeItemId Add(TreeNodeInfo record, TreeItemId parent, int image)
    {
        const TreeItemId id = tree.InsertItem(record.name, image, image, parent);
        record.treeItem = id;
        nodes.push_back(record);
        tree.SetItemData(id, static_cast<int>(nodes.size() - 1));
        return id;
    }

    ApplyResult Apply(TreeItemId item, bool document, bool device)
    {
        return applier.Apply(nodes, tree, item, ApplyRequest{document, device});
    }

    std::vector<TreeNodeInfo> nodes;
    CatalogueTree tree;
    TreeItemId group{}, subGroup{}, setting{}, countOption{}, plainOption{}, stray{};
    test::FakeDialogs dialogs;
    test::RecordingTargets targets;
    std::int64_t now = 1000;
    SelectionApplier applier{dialogs, targets, targets, [this] { return now; }};
};

TEST_F(SelectionApplierTest, GroupsSettingsSubGroupsAndStrayItemsDoNothing)
{
    for (TreeItemId item : {group, subGroup, setting, stray, kNoTreeItem, TreeItemId{500}}) {
        const ApplyResult result = Apply(item, true, true);
        EXPECT_FALSE(result.documentChanged || result.sent || result.revealCustomCode) << item;
    }
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_TRUE(targets.events.empty());
}

TEST_F(SelectionApplierTest, CancelOrNeitherBoxAppliesNothing)
{
    ApplyResult result = Apply(countOption, true, true);  // no answer queued: Cancel
    EXPECT_FALSE(result.documentChanged || result.sent);
    dialogs.answers.push_back(DialogOutput{});
    result = Apply(countOption, false, false);  // still asks
    EXPECT_FALSE(result.documentChanged || result.sent);
    EXPECT_EQ(dialogs.calls.size(), 2u);
    EXPECT_TRUE(targets.events.empty());
}

TEST_F(SelectionApplierTest, BothBoxesAddThenSend)
{
    const ApplyResult result = Apply(plainOption, true, true);
    EXPECT_TRUE(result.documentChanged && result.sent);
    EXPECT_EQ(targets.events, (Strings{"document 3 1 '' 0 0 ", "device 3 '' 0 0"}));
}

TEST_F(SelectionApplierTest, OptionInfoOnlyForOptions)
{
    EXPECT_EQ(GetOptionInfo(nodes, 2), "个数说明");
    for (const int index : {0, 1, -1, 99})
        EXPECT_EQ(GetOptionInfo(nodes, index), "") << index;
}

TEST(CustomCodeGestureTest, TimelineOfDoubleClicks)
{
    std::int64_t now = 0;
    CustomCodeGesture gesture([&now] { return now; });
    // Advance, whether it reveals, the state afterwards.
    const std::tuple<std::int64_t, bool, std::int64_t> steps[] = {
        {5000, false, 0},  // idle -> armed
        {399, true, 399},  // just inside the window
        {100, true, 100},  // still armed: every quick one reveals
        {400, false, -1},  // exactly 400 is too slow
        {1, false, 0},     // a new measurement starts
        {0, true, 0},      // same millisecond counts as quick
    };
    for (const auto& [advance, reveals, state] : steps) {
        now += advance;
        EXPECT_EQ(gesture.OnDoubleClick(), reveals) << "at " << now;
        EXPECT_EQ(gesture.State(), state) << "at " << now;
    }
    gesture.Reset();
    EXPECT_EQ(gesture.State(), -1);
    now += 1;
    EXPECT_FALSE(gesture.OnDoubleClick());
    EXPECT_LE(MonotonicMilliseconds(), MonotonicMilliseconds());
}

}  // namespace
}  // namespace quillon
