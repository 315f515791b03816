#pragma once
#include "catalogue/CatalogueRecords.h"
#include "sim/WireFormat.h"

#include <map>
#include <optional>
#include <set>

namespace quillon::sim {

// The device's current value of every setting it knows, by key.  Which
// settings exist, and their starting values, come from the catalogue, so the
// simulated device supports exactly what the catalogue offers.
class DeviceSettings {
public:
    struct Setting {
        std::uint8_t writeClass = 0x21;
        Bytes value;
    };

    // Key of the connect probe and of the frame that ends a read-back; the
    // device answers both even when the catalogue does not list them.
    static constexpr SettingKey kProbeKey = 0x1040;
    static constexpr SettingKey kReadBackEndKey = 0x7181;

    static DeviceSettings FromCatalogue(const CatalogueLists& lists);

    const Setting* Find(SettingKey key) const;
    // False when the device has no such setting.
    bool Store(SettingKey key, const Bytes& value);
    bool IsWriteClass(std::uint8_t frameClass) const { return writeClasses_.count(frameClass) != 0; }
    bool IsProbeKey(SettingKey key) const { return probeKeys_.count(key) != 0; }
    // Back to the values the device started with (a configuration erase).
    void RestoreDefaults() { current_ = defaults_; }

private:
    void Add(SettingKey key, std::uint8_t writeClass, Bytes value);

    std::map<SettingKey, Setting> defaults_;
    std::map<SettingKey, Setting> current_;
    std::set<std::uint8_t> writeClasses_;
    std::set<SettingKey> probeKeys_;
};

}  // namespace quillon::sim
