#pragma once
#include "cli/DeviceLink.h"

#include <string>

namespace CLI {
class App;
class Validator;
}  // namespace CLI

namespace quillon::cli {

// The environment variable that names the catalogue when --catalogue does not.
inline constexpr const char* kCatalogueVariable = "QUILLON_CATALOGUE";

// --port, --baud, --timeout, --catalogue (and, where the verb prints
// options, --json) of the device verbs.
void AddPortOptions(CLI::App& command, PortArgs& args, bool withJson);
// --baud and --timeout alone, for a verb that takes its ports its own way.
void AddLineOptions(CLI::App& command, PortArgs& args);
// --catalogue FILE, also taken from $QUILLON_CATALOGUE.
void AddCatalogueOption(CLI::App& command, std::string& catalogue);
// A whole number from `least` to `most`, digits only; the refusal names the
// bounds and their unit.
CLI::Validator WholeNumberIn(long long least, long long most, const std::string& unit);
// Refuses --port "".
CLI::Validator NonEmptyPort();

}  // namespace quillon::cli
