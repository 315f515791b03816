#include "profile/ProfileReader.h"

#include "catalogue/OptionAnswer.h"
#include "profile/JsonLines.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

namespace quillon {

namespace {

using Json = nlohmann::json;

// The first fault found, with the line it is on.
struct Refusal {
    int line;
    std::string reason;
};

std::string Message(const std::string& path, const Refusal& refusal)
{
    return path + ":" + std::to_string(refusal.line) + ": " + refusal.reason;
}

int KeyLine(std::string_view text, const char* key)
{
    const std::size_t at = text.find("\"" + std::string(key) + "\"");
    return at == std::string_view::npos ? 1 : LineOfOffset(text, at);
}

std::optional<Refusal> CheckHeader(const Json& root, std::string_view text)
{
    if (!root.is_object())
        return Refusal{1, "a profile is a JSON object"};
    const auto format = root.find("format");
    if (format == root.end() || !format->is_string() || *format != kProfileFormat)
        return Refusal{KeyLine(text, "format"),
                       std::string("not a profile: \"format\" must be \"") + kProfileFormat + "\""};
    const auto version = root.find("version");
    if (version == root.end() || !version->is_number_integer() || *version != kProfileVersion)
        return Refusal{KeyLine(text, "version"), "unknown profile version " +
                                                     (version == root.end() ? std::string("(none)") : version->dump()) +
                                                     "; this program reads version " + std::to_string(kProfileVersion)};
    for (const auto& [key, value] : root.items())
        if (key != "format" && key != "version" && key != "settings")
            return Refusal{KeyLine(text, key.c_str()), "unknown key \"" + key + "\""};
    const auto settings = root.find("settings");
    if (settings == root.end() || !settings->is_array())
        return Refusal{KeyLine(text, "settings"), "\"settings\" must be a list"};
    return std::nullopt;
}

std::optional<std::string> StringField(const Json& item, const char* key)
{
    const auto field = item.find(key);
    return field != item.end() && field->is_string() ? std::optional(field->get<std::string>()) : std::nullopt;
}

// One setting's shape; fills setting on success.
std::optional<std::string> ReadSetting(const Json& item, ProfileSetting& setting)
{
    if (!item.is_object())
        return "a setting must be an object";
    static const char* const kKeys[] = {"code", "value", "group", "setting", "option"};
    for (const auto& [key, value] : item.items()) {
        if (std::find(std::begin(kKeys), std::end(kKeys), key) == std::end(kKeys))
            return "unknown key \"" + key + "\" in a setting";
        if (!value.is_string())
            return "\"" + key + "\" must be a text";
    }
    const auto code = StringField(item, "code");
    if (!code || code->empty())
        return "a setting without \"code\"";
    setting.code = *code;
    setting.value = StringField(item, "value");
    setting.group = StringField(item, "group").value_or("");
    setting.setting = StringField(item, "setting").value_or("");
    setting.option = StringField(item, "option").value_or("");
    return std::nullopt;
}

// Why the option's dialog does not take the setting's value.
std::string ValueRefusal(const ProfileSetting& setting, const OptionAnswer& answer)
{
    const std::string option = "option " + setting.code;
    if (answer.fault == OptionAnswer::Fault::TakesNoValue)
        return option + " " + answer.reason;
    if (setting.value)
        return option + " refuses the value \"" + *setting.value + "\": " + answer.reason;
    return option + ": " + answer.reason;
}

}  // namespace

std::size_t InvalidUtf8Offset(std::string_view text)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char lead = bytes[i];
        std::size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;  // the second byte's range
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return i;
        }
        if (i + length > text.size() || bytes[i + 1] < low || bytes[i + 1] > high)
            return i;
        for (std::size_t k = 2; k < length; ++k)
            if (bytes[i + k] < 0x80 || bytes[i + k] > 0xBF)
                return i;
        i += length;
    }
    return std::string_view::npos;
}

ProfileRead ParseProfile(const std::string& path, std::string_view text, const std::vector<TreeNodeInfo>& nodes)
{
    ProfileRead read;
    const auto refuse = [&](const Refusal& refusal) {
        read.settings.clear();
        read.error = Message(path, refusal);
        return read;
    };
    if (const std::size_t bad = InvalidUtf8Offset(text); bad != std::string_view::npos)
        return refuse({LineOfOffset(text, bad), "not UTF-8 text (byte " + std::to_string(bad) + ")"});

    Json root;
    try {
        root = Json::parse(text);
    } catch (const Json::parse_error& error) {
        const std::string what = error.what();
        const std::size_t colon = what.find(": ");
        return refuse({LineOfOffset(text, error.byte == 0 ? 0 : error.byte - 1),
                       "not JSON: " + (colon == std::string::npos ? what : what.substr(colon + 2))});
    }
    if (auto refusal = CheckHeader(root, text))
        return refuse(*refusal);

    const std::vector<int> lines = ArrayElementLines(text, "settings");
    std::map<std::string, int> firstLine;  // code -> line where it first appeared
    // Options of one setting key write the same device setting, so a profile
    // holding two of them could never match the device afterwards.
    std::map<std::string, std::pair<std::string, int>> keyLine;  // key -> first code and its line
    const Json& items = root["settings"];
    for (std::size_t i = 0; i < items.size(); ++i) {
        const int line = i < lines.size() ? lines[i] : 1;
        ProfileSetting setting;
        setting.line = line;
        if (auto reason = ReadSetting(items[i], setting))
            return refuse({line, *reason});
        // The value through the rules of the dialog the option opens.
        const OptionAnswer answer = AnswerOption(nodes, setting.code, setting.value);
        if (answer.fault == OptionAnswer::Fault::UnknownCode)
            return refuse({line, answer.reason});
        if (!answer)
            return refuse({line, ValueRefusal(setting, answer)});
        const auto [first, added] = firstLine.emplace(setting.code, line);
        if (!added)
            return refuse(
                {line, "option " + setting.code + " is already set on line " + std::to_string(first->second)});
        const auto [sameKey, newKey] = keyLine.emplace(setting.code.substr(0, 4), std::pair(setting.code, line));
        if (!newKey)
            return refuse({line, "option " + setting.code + " and option " + sameKey->second.first + " on line " +
                                     std::to_string(sameKey->second.second) +
                                     " are options of one setting; keep one of them"});
        read.settings.push_back(std::move(setting));
    }
    return read;
}

ProfileRead ReadProfile(const std::string& path, const std::vector<TreeNodeInfo>& nodes, std::uintmax_t sizeLimit)
{
    if (path == kStandardInputName)
        return ReadProfileFrom(std::cin, nodes, sizeLimit);
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error)
        return {{}, path + ":0: cannot be read: " + error.message()};
    if (size > sizeLimit)
        return {{},
                path + ":0: " + std::to_string(size) + " bytes, more than a profile may have (" +
                    std::to_string(sizeLimit) + ")"};
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    if (!file)
        return {{}, path + ":0: cannot be read"};
    return ParseProfile(path, bytes.str(), nodes);
}

ProfileRead ReadProfileFrom(std::istream& in, const std::vector<TreeNodeInfo>& nodes, std::uintmax_t sizeLimit)
{
    const std::string name = kStandardInputText;
    std::string bytes;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > sizeLimit)
            return {{}, name + ":0: more than " + std::to_string(sizeLimit) + " bytes, more than a profile may have"};
    }
    if (in.bad())
        return {{}, name + ":0: cannot be read"};
    return ParseProfile(name, bytes, nodes);
}

}  // namespace quillon
