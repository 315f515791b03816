#include "cli/Commands.h"
#include "cli/DeviceLink.h"

#include <cstdio>

namespace quillon::cli {

namespace {
constexpr const char* kUsage = "usage: quillon-cli read --port COMn|DEVICE [--baud B] [--timeout MS] [--json]\n";
}

int RunRead(const Args& args)
{
    PortArgs port;
    if (const auto error = ParsePortArgs(args, true, false, port)) {
        std::fprintf(stderr, "quillon-cli read: %s\n%s", error->c_str(), kUsage);
        return 2;
    }
    DeviceLink link(port);
    if (!link.LoadCatalogue())
        return 1;
    if (const int status = link.OpenAndConnect(true); status != 0)
        return status;
    PrintReportedOptions(ReportedOptions(link.Doc(), link.Tree()), port.json);
    return 0;
}

}  // namespace quillon::cli
