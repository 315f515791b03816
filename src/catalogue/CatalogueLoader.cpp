#include "catalogue/CatalogueLoader.h"

#include "base/Prompt.h"
#include "catalogue/CatalogueText.h"
#include "catalogue/CatalogueTree.h"
#include "catalogue/ChildTextReader.h"
#include "catalogue/XmlReader.h"

#include <utility>

namespace quillon {

namespace {

constexpr int kTreeItemHeight = 20;

}  // namespace

CatalogueLoader::CatalogueLoader(CXmlReader& reader, CatalogueLists& lists, CatalogueTree& tree, IPrompt& prompt,
                                 CatalogueLoadHooks hooks)
    : reader_(reader),
      lists_(lists),
      tree_(tree),
      prompt_(prompt),
      hooks_(std::move(hooks))
{
}

int CatalogueLoader::LoadCatalogue(const std::string& path)
{
    if (hooks_.hideCustomCodeBox)
        hooks_.hideCustomCodeBox();
    if (!reader_.LoadFile(path)) {
        prompt_.ShowError(kCatalogueErrorText);
        return -1;
    }
    tree_.DeleteAllItems();
    tree_.itemHeight = kTreeItemHeight;

    // Without CODEBAR_SET the cursor stays inside CODEBAR_APP, so groups that
    // stand directly there are read in its place.
    reader_.Rewind();
    reader_.FindElement(u"CODEBAR_APP");
    reader_.EnterElement();
    reader_.FindElement(u"CODEBAR_SET");
    reader_.EnterElement();
    lists_.Clear();
    if (hooks_.resetCustomCodeGesture)
        hooks_.resetCustomCodeGesture();
    LoadSettings();

    const bool complete = LoadCommandSection(u"CODEBAR_TRANSDATA", lists_.transDataCmds) &&
                          LoadCommandSection(u"CODEBAR_TRANSPIC", lists_.transPicCmds) &&
                          LoadCommandSection(u"CODEBAR_READ", lists_.readCmds) &&
                          LoadCommandSection(u"CONNET_READ", lists_.connectReadCmds);
    return complete ? 0 : -1;
}

void CatalogueLoader::LoadSettings()
{
    while (reader_.FindElement(u"TYPE_INFO")) {
        reader_.EnterElement();
        LoadGroup();
        reader_.LeaveElement();
    }
}

void CatalogueLoader::LoadGroup()
{
    ChildTextReader children(reader_);
    const std::string caption = children.Next(u"TYPE_NAME");
    if (caption.empty())
        return;
    TreeNodeInfo group;
    group.name = caption;
    group.level = 1;
    const TreeItemId groupItem = AppendRecord(std::move(group), kNoTreeItem, kImageGroup, kImageGroupSelected);
    while (reader_.FindElement(u"SUB_TYPE_INFO")) {
        reader_.EnterElement();
        LoadSubGroup(groupItem);
        reader_.LeaveElement();
    }
}

void CatalogueLoader::LoadSubGroup(TreeItemId groupItem)
{
    ChildTextReader children(reader_);
    const std::string caption = TrimBlanks(children.Next(u"TYPE_NAME"));
    TreeItemId parent = groupItem;
    if (!caption.empty()) {
        // A sub-group has no record of its own; data 0 makes it act as the
        // first group.
        parent = tree_.InsertItem(caption, kImageSetting, kImageSettingSelected, groupItem);
        tree_.SetItemData(parent, 0);
    }
    while (reader_.FindElement(u"ITEM_INFO")) {
        reader_.EnterElement();
        LoadSetting(parent, caption);
        reader_.LeaveElement();
    }
}

void CatalogueLoader::LoadSetting(TreeItemId parent, const std::string& groupName)
{
    ChildTextReader children(reader_);
    TreeNodeInfo setting;
    setting.groupName = groupName;
    setting.name = children.Next(u"ITEM_NAME");
    // Codes are compared and sent, so white space of a pretty-printed file
    // must not reach them; names and descriptions stay as written.
    setting.pidFid = TrimBlanks(children.Next(u"PIDFID"));
    setting.cmdType = TrimBlanks(children.Next(u"CMD_TYPE"));
    setting.level = 2;
    if (setting.name.empty())
        return;
    std::string pidFid = setting.pidFid;
    const std::string cmdType = setting.cmdType;
    const TreeItemId settingItem = AppendRecord(std::move(setting), parent, kImageSetting, kImageSettingSelected);

    while (reader_.FindElement(u"SUBITEM")) {
        reader_.EnterElement();
        ChildTextReader fields(reader_);
        TreeNodeInfo option;
        option.groupName = groupName;
        option.name = fields.Next(u"SUBITEM_NAME");
        option.code = TrimBlanks(fields.Next(u"SUBITEM_CODE"));
        option.info = fields.Next(u"SUBITEM_INFO");
        option.cmdType = cmdType;
        option.level = 3;
        if (cmdType == "21")
            option.code = ApplyPidFidRule(pidFid, option.code);
        AppendRecord(std::move(option), settingItem, kImageOption, kImageOption);
        reader_.LeaveElement();
    }
}

bool CatalogueLoader::LoadCommandSection(std::u16string_view section, std::vector<CmdNodeInfo>& list)
{
    reader_.Rewind();
    reader_.FindElement(u"CODEBAR_APP");
    reader_.EnterElement();
    if (!reader_.FindElement(section))
        return false;
    reader_.EnterElement();
    while (reader_.FindElement(u"TYPE_INFO")) {
        reader_.EnterElement();
        while (reader_.FindElement(u"ITEM_INFO")) {
            reader_.EnterElement();
            while (reader_.FindElement(u"SUBITEM")) {
                reader_.EnterElement();
                ChildTextReader fields(reader_);
                CmdNodeInfo entry;
                entry.name = fields.Next(u"SUBITEM_NAME");
                entry.code = TrimBlanks(fields.Next(u"SUBITEM_CODE"));
                entry.info = fields.Next(u"SUBITEM_INFO");
                entry.nodeIdFlag = ParseNodeIdFlag(fields.Next(u"NODE_ID_FLAG"));
                list.push_back(std::move(entry));
                reader_.LeaveElement();
            }
            reader_.LeaveElement();
        }
        reader_.LeaveElement();
    }
    return true;
}

TreeItemId CatalogueLoader::AppendRecord(TreeNodeInfo record, TreeItemId parent, int image, int selectedImage)
{
    const TreeItemId item = tree_.InsertItem(record.name, image, selectedImage, parent);
    record.treeItem = item;
    lists_.treeNodes.push_back(std::move(record));
    tree_.SetItemData(item, static_cast<int>(lists_.treeNodes.size() - 1));
    return item;
}

}  // namespace quillon
