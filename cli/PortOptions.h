#pragma once
#include "cli/DeviceLink.h"

namespace CLI {
class App;
}

namespace quillon::cli {

// --port, --baud, --timeout (and, where the verb prints options, --json) of
// the device verbs.
void AddPortOptions(CLI::App& command, PortArgs& args, bool withJson);

}  // namespace quillon::cli
