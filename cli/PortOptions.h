#pragma once
#include "cli/DeviceLink.h"

namespace CLI {
class App;
class Validator;
}

namespace quillon::cli {

// A check that refuses, in words, anything but a whole number in the range.
CLI::Validator WholeNumberFrom(long long lowest, long long highest);

// --port, --baud, --timeout (and, where the verb prints options, --json) of
// the device verbs.
void AddPortOptions(CLI::App& command, PortArgs& args, bool withJson);
// --baud and --timeout alone, for a verb that takes its ports its own way.
void AddLineOptions(CLI::App& command, PortArgs& args);
// The port options plus --catalogue, for the verbs that read rather than
// configure and so need no more of the catalogue than its command lists.
void AddCaptureOptions(CLI::App& command, PortArgs& args);

}  // namespace quillon::cli
