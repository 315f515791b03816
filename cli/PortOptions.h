#pragma once
#include "cli/DeviceLink.h"

#include <string>

namespace CLI {
class App;
class Validator;
}

namespace quillon::cli {

// The environment variable that names the catalogue when --catalogue does not.
inline constexpr const char* kCatalogueVariable = "QUILLON_CATALOGUE";

// A check that refuses, in words, anything but a whole number in the range
// (digits only), naming the bounds and their unit.
CLI::Validator WholeNumberFrom(long long lowest, long long highest, const std::string& unit = {});

// --port, --baud, --timeout, --catalogue (and, where the verb prints
// options, --json) of the device verbs.
void AddPortOptions(CLI::App& command, PortArgs& args, bool withJson);
// --baud and --timeout alone, for a verb that takes its ports its own way.
void AddLineOptions(CLI::App& command, PortArgs& args);
// --catalogue FILE, also taken from $QUILLON_CATALOGUE.
void AddCatalogueOption(CLI::App& command, std::string& catalogue);
// Refuses --port "".
CLI::Validator NonEmptyPort();

}  // namespace quillon::cli
