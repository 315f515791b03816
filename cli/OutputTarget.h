#pragma once
#include <string>
#include <string_view>

namespace quillon::cli {

// -o FILE of every verb: "-" is standard output, anything else is written
// as WriteOutputFile writes it.  Empty on success, otherwise why not.
std::string WriteOutput(const std::string& path, std::string_view bytes);
// False, with the reason on standard error, when the path can take no
// output at all (a folder, a block device): checked before any work.
bool OutputAccepted(const std::string& path);
// What a message calls the output.
std::string OutputName(const std::string& path);

}  // namespace quillon::cli
