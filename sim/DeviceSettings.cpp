#include "sim/DeviceSettings.h"

#include "catalogue/CatalogueText.h"

namespace quillon::sim {

namespace {

std::optional<SettingKey> KeyOfCode(std::string_view code)
{
    if (code.size() < 4)
        return std::nullopt;
    const auto bytes = ParseHex(code.substr(0, 4));
    if (!bytes)
        return std::nullopt;
    return KeyAt(*bytes, 0);
}

// An option code that carries a whole value (key + data laid out as the
// key's form wants) names a value the device may plausibly start with.
std::optional<Bytes> ValueOfOption(SettingKey key, std::string_view code)
{
    const auto bytes = ParseHex(code);
    if (!bytes || bytes->size() < 2 || KeyAt(*bytes, 0) != key)
        return std::nullopt;
    const Bytes data(bytes->begin() + 2, bytes->end());
    const LengthForm form = FormOfKey(key);
    if (form != LengthForm::Counted)
        return data.size() == FixedValueSize(form) ? std::optional(data) : std::nullopt;
    if (data.size() < 2 || KeyAt(data, 0) != data.size() - 2)
        return std::nullopt;
    return Bytes(data.begin() + 2, data.end());
}

// The catalogue marks the factory setting in the option's caption or description.
bool IsFactoryDefault(const TreeNodeInfo& option)
{
    constexpr std::string_view kFactoryDefault = "出厂默认";
    return option.name.find(kFactoryDefault) != std::string::npos ||
           option.info.find(kFactoryDefault) != std::string::npos;
}

Bytes ZeroValue(SettingKey key)
{
    return Bytes(FixedValueSize(FormOfKey(key)), 0);
}

}  // namespace

DeviceSettings DeviceSettings::FromCatalogue(const CatalogueLists& lists)
{
    DeviceSettings settings;
    std::map<SettingKey, std::uint8_t> classes;  // the first record of a key names its class
    std::map<SettingKey, Bytes> startValues;
    std::set<SettingKey> factory;
    for (const auto& node : lists.treeNodes) {
        const auto writeClass = ParseHex(TrimBlanks(node.cmdType));
        if (!writeClass || writeClass->size() != 1 || (node.level != 2 && node.level != 3))
            continue;
        const auto key = KeyOfCode(node.level == 2 ? node.pidFid : node.code);
        if (!key)
            continue;
        classes.emplace(*key, writeClass->front());
        // The factory option wins; else the first option that names a value.
        if (node.level == 3 && !factory.count(*key) && (!startValues.count(*key) || IsFactoryDefault(node)))
            if (auto value = ValueOfOption(*key, node.code)) {
                startValues[*key] = *value;
                if (IsFactoryDefault(node))
                    factory.insert(*key);
            }
    }
    for (const auto& [key, writeClass] : classes)
        settings.Add(key, writeClass, startValues.count(key) ? startValues[key] : ZeroValue(key));
    settings.probeKeys_.insert(kProbeKey);
    for (const auto& entry : lists.connectReadCmds)
        if (const auto key = KeyOfCode(entry.code); key && entry.nodeIdFlag == 1 && entry.code.size() == 4)
            settings.probeKeys_.insert(*key);
    for (const SettingKey key : settings.probeKeys_)
        if (!settings.Find(key))
            settings.Add(key, 0x21, FormOfKey(key) == LengthForm::OneByte ? Bytes{0x01} : ZeroValue(key));
    if (!settings.Find(kReadBackEndKey))
        settings.Add(kReadBackEndKey, 0x21, ZeroValue(kReadBackEndKey));
    settings.current_ = settings.defaults_;
    return settings;
}

void DeviceSettings::Add(SettingKey key, std::uint8_t writeClass, Bytes value)
{
    defaults_[key] = Setting{writeClass, std::move(value)};
    writeClasses_.insert(writeClass);
}

const DeviceSettings::Setting* DeviceSettings::Find(SettingKey key) const
{
    const auto it = current_.find(key);
    return it == current_.end() ? nullptr : &it->second;
}

bool DeviceSettings::Store(SettingKey key, const Bytes& value)
{
    const auto it = current_.find(key);
    if (it == current_.end())
        return false;
    it->second.value = value;
    return true;
}

}  // namespace quillon::sim
