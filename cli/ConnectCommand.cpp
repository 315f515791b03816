#include "cli/Commands.h"
#include "cli/DeviceLink.h"

#include <cstdio>

namespace quillon::cli {

namespace {
constexpr const char* kUsage = "usage: quillon-cli connect --port COMn|DEVICE [--baud B] [--timeout MS]\n";
}

int RunConnect(const Args& args)
{
    PortArgs port;
    if (const auto error = ParsePortArgs(args, false, false, port)) {
        std::fprintf(stderr, "quillon-cli connect: %s\n%s", error->c_str(), kUsage);
        return 2;
    }
    DeviceLink link(port);
    if (!link.LoadCatalogue())
        return 1;
    if (const int status = link.OpenAndConnect(false); status != 0)
        return status;
    std::printf("%s\n", link.StateText().c_str());
    return 0;
}

}  // namespace quillon::cli
