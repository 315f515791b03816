#include "cli/OutputTarget.h"

#include "cli/Messages.h"
#include "profile/OutputFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace quillon::cli {

std::string WriteOutput(const std::string& path, std::string_view bytes)
{
    if (path != "-")
        return WriteOutputFile(path, bytes);
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0)
        return std::string("cannot write: ") + std::strerror(errno);
    return {};
}

bool OutputAccepted(const std::string& path)
{
    const std::string refusal = path == "-" ? std::string() : OutputRefusal(path);
    if (!refusal.empty())
        Complain(path + ": " + refusal);
    return refusal.empty();
}

std::string OutputName(const std::string& path)
{
    return path == "-" ? std::string("standard output") : path;
}

}  // namespace quillon::cli
