#pragma once
#include "sim/SimProcess.h"
#include "support/ProgramRun.h"

#include <string>

namespace quillon::test {

// quillon-cli as a user calls it from the source tree (where ./config is),
// finding the simulator's COM9 in its port-link folder.
inline std::string CliLineOn(const SimProcess& sim, const std::string& arguments)
{
    return "cd " + Quote(QUILLON_SOURCE_DIR) + " && QUILLON_PORT_LINKS=" + Quote(sim.LinkFolder()) + " exec " +
           Quote(QUILLON_CLI) + " " + arguments;
}

inline ProgramRun RunCliOn(const SimProcess& sim, const std::string& arguments)
{
    return RunProgram(CliLineOn(sim, arguments));
}

}  // namespace quillon::test
