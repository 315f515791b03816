#pragma once
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

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

// Its status, a text standard output holds, and a text standard error
// holds, or (inErr empty) that it said nothing there.
inline void ExpectRun(const ProgramRun& run, int exitCode, const std::string& inOut, const std::string& inErr)
{
    EXPECT_EQ(run.exitCode, exitCode) << run.err;
    EXPECT_NE(run.out.find(inOut), std::string::npos) << run.out;
    if (inErr.empty()) {
        EXPECT_EQ(run.err, "");
    } else {
        EXPECT_NE(run.err.find(inErr), std::string::npos) << run.err;
    }
}

// A program started through the shell and left running, so that a test can
// send it signals as a user's Ctrl+C or a service manager would.  The
// command line should end by exec-ing the program, so that the signals
// reach it; its output goes to files of the test's own.
class RunningProgram {
public:
    explicit RunningProgram(const std::string& commandLine)
    {
        const std::string line = commandLine + " >" + Quote(Out()) + " 2>" + Quote(Err());
        pid_ = ::fork();
        if (pid_ == 0) {
            ::execl("/bin/sh", "sh", "-c", line.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }
    ~RunningProgram()
    {
        if (pid_ > 0 && !waited_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // Waits (up to a generous bound) until standard error holds `text`.
    bool WaitForErr(const std::string& text) const
    {
        for (int i = 0; i < 600; ++i) {
            if (ReadFile(Err()).find(text) != std::string::npos)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }
    void Signal(int signal) const { ::kill(pid_, signal); }
    ProgramRun Wait()
    {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        waited_ = true;
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(Out()), ReadFile(Err())};
    }

private:
    std::string Out() const { return (scratch_.Path() / "stdout.txt").string(); }
    std::string Err() const { return (scratch_.Path() / "stderr.txt").string(); }

    TempDir scratch_;
    pid_t pid_ = -1;
    bool waited_ = false;
};

}  // namespace quillon::test
