#pragma once
#include "profile/ReportedSettings.h"

#include <nlohmann/json.hpp>

#include <vector>

namespace quillon::cli {

// The JSON documents the verbs print with --json, keyed as scripts (the
// Ansible collection among them) read them.
using Json = nlohmann::ordered_json;

// [{code, setting, device (null when not reported), profile}]
Json DifferencesJson(const std::vector<SettingDifference>& differences);

// One document on standard output, invalid UTF-8 replaced.
void PrintJson(const Json& document);

}  // namespace quillon::cli
