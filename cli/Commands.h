#pragma once
#include <string>
#include <vector>

namespace quillon::cli {

// One sub-command of quillon-cli: its arguments after the sub-command name;
// returns the process exit status.
using Args = std::vector<std::string>;

int RunCatalogue(const Args& args);
int RunPorts(const Args& args);
int RunSheet(const Args& args);
int RunFirmware(const Args& args);

}  // namespace quillon::cli
