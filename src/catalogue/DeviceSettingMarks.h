#pragma once
#include "catalogue/CatalogueRecords.h"

#include <optional>
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
    void Apply(std::size_t index, std::string_view match, std::string_view key, const std::string& suffix,
               const std::optional<std::string>& bytes);
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

// The text shown after " : " for a value a reply frame carries (kinds 10
// and 11); empty for the others.
std::string DeviceValueText(std::string_view frameText, int kind);

}  // namespace quillon
