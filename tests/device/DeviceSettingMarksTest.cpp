#include "device/DeviceSettingMarks.h"
#include "catalogue/CatalogueTree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillon {
namespace {

// A small settings tree: setting key, option names and codes.
struct Fixture {
    Fixture()
    {
        AddSetting("Beep", "3040", {{"On", "304001"}, {"Off", "304000"}});
        AddSetting("First", "3186", {{"Choose", "31860000"}, {"Other", "31860001"}});
        AddSetting("Eighth", "318A", {{"Choose", "318A0000"}});
        AddSetting("Timeout", "6182", {{"Set", "61820000"}});
        AddSetting("Prefix", "32C0", {{"Set", "32C00000"}});
        AddSetting("Mixed", "3a4b", {{"Upper", "3A4B01"}, {"Mixed", "3a4B01"}, {"Lower", "3a4b02"}});
        AddSetting("Bare", "1205", {{"It", "1205"}});
    }
    void AddSetting(const std::string& name, const std::string& key,
                    const std::vector<std::pair<std::string, std::string>>& options)
    {
        TreeNodeInfo setting;
        setting.level = 2;
        setting.name = name;
        setting.pidFid = key;
        setting.treeItem = tree.InsertItem(name, 4, 5, kNoTreeItem);
        nodes.push_back(setting);
        for (const auto& [optionName, code] : options) {
            TreeNodeInfo option;
            option.level = 3;
            option.name = optionName;
            option.code = code;
            option.treeItem = tree.InsertItem(optionName, 2, 2, setting.treeItem);
            nodes.push_back(option);
        }
    }
    // "text/image" of the option with this code.
    std::string Look(const std::string& code) const
    {
        for (const auto& node : nodes) {
            if (node.level == 3 && node.code == code) {
                const TreeItem& item = tree.Item(node.treeItem);
                return item.text + "/" + std::to_string(item.image) + std::to_string(item.selectedImage);
            }
        }
        return "?";
    }

    std::vector<TreeNodeInfo> nodes;
    CatalogueTree tree;
};

struct MarkCase {
    const char* name;
    const char* frame;
    int kind;
    const char* code;
    const char* look;
};

TEST(ShowDeviceSetting, MarksValuesAndTheSymbologyTable)
{
    const MarkCase cases[] = {
        {"one-byte value marks the option", "24304001", 8, "304001", "On*/33"},
        {"two-byte value: the number both bytes make", "2461820bb8", 10, "61820000", "Set* : 3000/33"},
        {"the largest two-byte value", "246182ffff", 10, "61820000", "Set* : 65535/33"},
        {"a low byte alone", "24618200ff", 10, "61820000", "Set* : 255/33"},
        {"symbology by its code", "2431860c00", 10, "31860000", "Choose* : CODE128/33"},
        {"symbology key with a lower-case letter", "24318a0400", 10, "318A0000", "Choose* : PDF417/33"},
        {"symbology code 15 is not in the table", "2431860f00", 10, "31860000", "Choose* : /33"},
        {"counted value with escapes", "2432c00003410d42", 11, "32C00000", "Set* : A(x0D)B/33"},
        {"counted value of no bytes", "2432c00000", 11, "32C00000", "Set*/33"},
        {"a bare record", "241205", 6, "1205", "It*/33"},
        {"upper-case code", "243a4b01", 8, "3A4B01", "Upper*/33"},
        {"mixed-case code is never marked", "243a4b01", 8, "3a4B01", "Mixed/22"},
        {"a sibling of a matching key goes plain", "243a4b01", 8, "3a4b02", "Lower/22"},
    };
    for (const auto& c : cases) {
        Fixture f;
        DeviceSettingMarks marks(f.nodes, f.tree);
        EXPECT_EQ(marks.ShowDeviceSetting(c.frame, c.kind), 1) << c.name;
        EXPECT_EQ(f.Look(c.code), c.look) << c.name;
    }
}

TEST(ShowDeviceSetting, ACountedValueKeepsItsBytesBesideTheirDisplay)
{
    Fixture f;
    DeviceSettingMarks marks(f.nodes, f.tree);
    const auto bytesOf = [&f](const char* code) {
        for (const auto& node : f.nodes)
            if (node.level == 3 && node.code == code)
                return f.tree.Item(node.treeItem).deviceValue;
        return std::optional<std::string>("?");
    };
    marks.ShowDeviceSetting("2432c00003410d42", 11);
    EXPECT_EQ(bytesOf("32C00000"), std::optional<std::string>("A\rB"));
    marks.ShowDeviceSetting("2432c00000", 11);
    EXPECT_EQ(bytesOf("32C00000"), std::optional<std::string>(""));
    marks.ShowDeviceSetting("2432c00103", 8);  // the same key, another option: no value any more
    EXPECT_EQ(bytesOf("32C00000"), std::nullopt);
    marks.ShowDeviceSetting("246182012c", 10);
    EXPECT_EQ(bytesOf("61820000"), std::nullopt) << "two-byte values are numbers, not bytes";
}

TEST(ShowDeviceSetting, ALaterRecordMovesTheMarkAndOtherKindsChangeNothing)
{
    Fixture f;
    DeviceSettingMarks marks(f.nodes, f.tree);
    marks.ShowDeviceSetting("24304001", 8);
    marks.ShowDeviceSetting("24304000", 8);
    EXPECT_EQ(f.Look("304001"), "On/22");
    EXPECT_EQ(f.Look("304000"), "Off*/33");
    EXPECT_EQ(f.Look("31860000"), "Choose/22");  // another key untouched
    for (const int kind : {0, 7, 9, 12, -1}) {
        EXPECT_EQ(marks.ShowDeviceSetting("24304001", kind), -1);
        EXPECT_EQ(f.Look("304000"), "Off*/33");
    }
    // Too short to name a key: no option matches, nothing breaks.
    EXPECT_EQ(marks.ShowDeviceSetting("24", 6), 1);
    EXPECT_EQ(marks.ShowDeviceSetting("", 11), 1);
}

TEST(ShowDeviceSetting, AReloadedTreeIsIndexedAgain)
{
    Fixture f;
    DeviceSettingMarks marks(f.nodes, f.tree);
    marks.ShowDeviceSetting("24304001", 8);
    f.tree.DeleteAllItems();
    f.nodes.clear();
    f.AddSetting("Link", "4240", {{"Serial", "424000"}});
    marks.ShowDeviceSetting("24424000", 8);
    EXPECT_EQ(f.Look("424000"), "Serial*/33");
}

}  // namespace
}  // namespace quillon
