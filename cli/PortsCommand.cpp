#include "cli/Commands.h"

#include <cstdio>

#include "serial/PortDiscovery.h"

namespace quillon::cli {

int RunPorts(const Args& args)
{
    if (!args.empty()) {
        std::fprintf(stderr, "quillon-cli ports: takes no arguments\n");
        return 2;
    }
    for (const auto& port : DiscoverPorts())
        std::printf("COM%d\t%s\t%s\n", port.number, port.devicePath.c_str(), port.friendlyName.c_str());
    return 0;
}

}  // namespace quillon::cli
