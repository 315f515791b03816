#include "device/DeviceSettingMarks.h"

#include "base/HexText.h"
#include "catalogue/CatalogueTree.h"
#include "device/DeviceValues.h"
#include "device/FrameLength.h"
#include "dialogs/SymbologyNames.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <optional>

namespace quillon {

namespace {

// Settings whose two-byte value names a symbology.
constexpr std::array<std::string_view, 7> kSymbologyKeys = {"3185", "3186", "3187", "3188", "3189", "318A", "318a"};

std::string Cased(std::string_view text, int (*convert)(int))
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(convert(static_cast<unsigned char>(c)));
    return out;
}

bool EqualsInOneCase(std::string_view code, std::string_view text)
{
    return code == Cased(text, ::tolower) || code == Cased(text, ::toupper);
}

std::string MatchText(std::string_view frame, int kind)
{
    if (kind == kKindBare)
        return std::string(frame.substr(std::min<std::size_t>(2, frame.size())));
    if (kind == kKindOneByte)
        return std::string(frame.substr(std::min<std::size_t>(2, frame.size()), 6));
    return std::string(frame.substr(std::min<std::size_t>(2, frame.size()), 4)) + "0000";
}

std::string NameOfSymbology(unsigned code)
{
    for (const SymbologyName& entry : SymbologyNames()) {
        if (static_cast<unsigned>(entry.code) == code)
            return entry.name;
    }
    return {};
}

}  // namespace

std::string DeviceValueText(const std::vector<TreeNodeInfo>& nodes, const TreeNodeInfo& option, std::string_view frame,
                            int kind)
{
    if (kind == kKindTwoBytes) {
        const std::string_view key = frame.substr(std::min<std::size_t>(2, frame.size()), 4);
        if (std::ranges::find(kSymbologyKeys, key) != kSymbologyKeys.end())
            return NameOfSymbology(HexFieldValue(frame.substr(std::min<std::size_t>(6, frame.size()), 2)));
        // The dialogs write both bytes, big-endian: shown as the operator
        // types them, else as the number they make.
        if (auto typed = DeviceValueInput(nodes, option, frame))
            return *typed;
        return std::to_string(HexFieldValue(frame.substr(std::min<std::size_t>(6, frame.size()), 4)));
    }
    if (kind != kKindCounted)
        return {};
    std::string text;
    for (const char c : DeviceValueBytes(frame)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 32 && byte <= 126) {
            text += static_cast<char>(byte);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "(x%02X)", byte);
            text += escaped;
        }
    }
    return text;
}

std::string DeviceValueBytes(std::string_view frame)
{
    const std::size_t count = HexFieldValue(frame.substr(std::min<std::size_t>(6, frame.size()), 4));
    std::string bytes;
    for (std::size_t i = 0; i < count && 10 + 2 * i + 2 <= frame.size(); ++i)
        bytes += static_cast<char>(HexFieldValue(frame.substr(10 + 2 * i, 2)));
    return bytes;
}

DeviceSettingMarks::DeviceSettingMarks(const std::vector<TreeNodeInfo>& nodes, CatalogueTree& tree)
    : nodes_(nodes),
      tree_(tree)
{
}

void DeviceSettingMarks::RebuildIndexIfStale()
{
    if (indexedGeneration_ == tree_.Generation() && indexedSize_ == nodes_.size())
        return;
    byKey_.clear();
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        if (nodes_[i].level == 3)
            byKey_[nodes_[i].code.substr(0, 4)].push_back(i);
    }
    indexedGeneration_ = tree_.Generation();
    indexedSize_ = nodes_.size();
}

int DeviceSettingMarks::ShowDeviceSetting(std::string_view frame, int kind)
{
    if (kind != kKindBare && kind != kKindOneByte && kind != kKindTwoBytes && kind != kKindCounted)
        return -1;
    const std::string match = MatchText(frame, kind);
    const std::string_view key = frame.substr(std::min<std::size_t>(2, frame.size()), 4);
    const Record record{frame, kind, match, key};

    if (key.size() < 4) {
        // Too short to name a setting key: only the walk over every option
        // gives the same answer.
        for (std::size_t i = 0; i < nodes_.size(); ++i) {
            if (nodes_[i].level == 3)
                Apply(i, record);
        }
        return 1;
    }
    RebuildIndexIfStale();
    const std::string lower = Cased(key, ::tolower);
    const std::string upper = Cased(key, ::toupper);
    for (const std::string& bucket : {lower, upper}) {
        const auto found = byKey_.find(bucket);
        if (found != byKey_.end()) {
            for (const std::size_t index : found->second)
                Apply(index, record);
        }
        if (lower == upper)
            break;
    }
    return 1;
}

void DeviceSettingMarks::Apply(std::size_t index, const Record& record)
{
    const TreeNodeInfo& option = nodes_[index];
    if (!tree_.IsValid(option.treeItem))
        return;
    if (EqualsInOneCase(option.code, record.match))
        tree_.SetItemLook(option.treeItem, option.name + MarkText(option, record), 3, 3,
                          record.kind == kKindCounted ? std::optional(DeviceValueBytes(record.frame)) : std::nullopt);
    else if (EqualsInOneCase(std::string_view(option.code).substr(0, 4), record.key))
        tree_.SetItemLook(option.treeItem, option.name, 2, 2);
}

std::string DeviceSettingMarks::MarkText(const TreeNodeInfo& option, const Record& record) const
{
    std::size_t count = 0;
    if (record.kind == kKindTwoBytes)
        count = 2;
    else if (record.kind == kKindCounted)
        count = HexFieldValue(record.frame.substr(std::min<std::size_t>(6, record.frame.size()), 4));
    return count > 0 ? "* : " + DeviceValueText(nodes_, option, record.frame, record.kind) : "*";
}

}  // namespace quillon
