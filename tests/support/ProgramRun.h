#pragma once
#include "support/TempDir.h"

#include <cstdio>
#include <string>

#include <sys/wait.h>

namespace quillon::test {

// What a program run through the shell left behind.
struct ProgramRun {
    int exitCode = -1;  // -1 when it did not exit normally
    std::string out, err;
};

// Single quotes for the shell, for paths and arguments with blanks or brackets.
inline std::string Quote(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs a shell command line as a user would type it; standard output and
// standard error are kept apart.
inline ProgramRun RunProgram(const std::string& commandLine)
{
    const TempDir scratch;
    const std::string errFile = (scratch.Path() / "stderr.txt").string();
    ProgramRun run;
    FILE* pipe = popen(("( " + commandLine + " ) 2>" + Quote(errFile)).c_str(), "r");
    char buffer[4096];
    for (std::size_t n; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.out.append(buffer, n);
    const int status = pipe ? pclose(pipe) : -1;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = ReadFile(errFile);
    return run;
}

}  // namespace quillon::test
