#pragma once
#include "catalogue/CatalogueRecords.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillon {

class CatalogueTree;

// Shows the settings the device reports in the tree: the option that a
// reply frame names gets "*" (and, for settings with a value, " : " and the
// value) and image 3; its siblings of the same setting key go back to their
// plain names and image 2.  Options are found through an index of their
// setting keys, built again whenever the tree was reloaded.
class DeviceSettingMarks {
public:
    DeviceSettingMarks(const std::vector<TreeNodeInfo>& nodes, CatalogueTree& tree);

    // frameText: a reply frame as hex text; kind: its length form (6, 8, 10
    // or 11).  1 when applied, -1 for any other kind.
    int ShowDeviceSetting(std::string_view frameText, int kind);

private:
    struct Record {
        std::string_view frame;
        int kind;
        std::string_view match;  // what the option's whole code is compared with
        std::string_view key;
    };
    void Apply(std::size_t index, const Record& record);
    std::string MarkText(const TreeNodeInfo& option, const Record& record) const;
    void RebuildIndexIfStale();

    const std::vector<TreeNodeInfo>& nodes_;
    CatalogueTree& tree_;
    // Options by the first four characters of their code, as written.
    std::unordered_map<std::string, std::vector<std::size_t>> byKey_;
    unsigned indexedGeneration_ = ~0u;
    std::size_t indexedSize_ = 0;
};

// The data bytes of a counted reply frame (kind 11), as far as it holds them.
std::string DeviceValueBytes(std::string_view frameText);

// The text shown after " : " for the value a reply frame carries for the
// option (kinds 10 and 11); empty for the others.
std::string DeviceValueText(const std::vector<TreeNodeInfo>& nodes, const TreeNodeInfo& option,
                            std::string_view frameText, int kind);

}  // namespace quillon
