#pragma once
#include "serial/ProgramTrace.h"

#include <string>

namespace CLI {
class App;
}

namespace quillon::cli {

// The wire trace of one run: --trace FILE on every verb, else
// $QUILLON_TRACE.  A trace that cannot be written is reported on stderr
// and the command runs without it.
class CommandTrace {
public:
    void AddOption(CLI::App& command);
    // After parsing: opens the file and starts watching every port.
    void Start(int argc, const char* const* argv);
    // The last line: how the command ended.
    void Finish(int status);

private:
    std::string path_;
    ProgramTrace trace_;
};

}  // namespace quillon::cli
