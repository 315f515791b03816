#pragma once
#include "catalogue/CatalogueRecords.h"
#include "catalogue/SelectionTargets.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// A setting's value as the device holds it, set against what an option
// would send: how a read-back becomes the tree's marks, a profile and its
// differences.
using Bytes = std::vector<std::uint8_t>;

// The length form of a setting key: the top two bits of its second byte.
enum class SettingForm { Bare, OneByte, TwoBytes, Counted };
SettingForm FormOf(const std::string& code);

// What follows the class byte and the key, as the device keeps it: a fixed
// form holds exactly its one or two bytes (a shorter value is padded with
// zeros, a longer one cut), a counted one its count and bytes.
Bytes KeptData(SettingForm form, Bytes frame);

// The data of the frame the option would send with this value.
std::optional<Bytes> SentData(const TreeNodeInfo& option, const ValueTriple& value);

std::string UpperHex(const Bytes& bytes);

// The value, in the form its dialog takes, that makes the option send what
// the device reported for it (frameText: the reply frame of its key), so
// that writing it back changes nothing; nullopt when no input of the
// option's dialog gives those bytes.
std::optional<std::string> DeviceValueInput(const std::vector<TreeNodeInfo>& nodes, const TreeNodeInfo& option,
                                            std::string_view frameText);

}  // namespace quillon
