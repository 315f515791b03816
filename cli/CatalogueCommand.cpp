#include "cli/Commands.h"

#include <cstdio>

namespace quillon::cli {

int RunCatalogue(const Args&)
{
    std::fprintf(stderr, "quillon-cli catalogue: not built yet\n");
    return 1;
}

}  // namespace quillon::cli
