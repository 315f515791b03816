#include "support/ProgramRun.h"

#include <gtest/gtest.h>

#include <string>

namespace quillon {
namespace {

// The verbs' own work is tested beside their subsystems; here what every verb
// shares: help, version, and how a wrong command line is told and ended.
TEST(CliArguments, HelpAndVersionSucceedAndWrongCommandLinesEndWithStatusTwo)
{
    const struct {
        const char* arguments;
        int exitCode;
        const char* inOut;  // expected on standard output
        const char* inErr;  // expected on standard error
    } cases[] = {
        {"--version", 0, "quillon-cli " QUILLON_VERSION "\n", ""},
        {"--help", 0, "catalogue", ""},
        {"-h", 0, "ports", ""},
        {"catalogue --help", 0, "FILE", ""},
        {"ports --help", 0, "tab-separated", ""},
#ifdef QUILLON_CLI_SHEET
        {"sheet --help", 0, "CODE[=VALUE]", ""},
#endif
        {"", 2, "", "quillon-cli: a command is required"},
        {"frobnicate", 2, "", "quillon-cli: The following argument was not expected: frobnicate"},
        {"ports extra", 2, "", "quillon-cli ports: The following argument was not expected: extra"},
        {"catalogue a.xml b.xml", 2, "", "b.xml"},
        {"catalogue --colour", 2, "", "--colour"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const test::ProgramRun run = test::RunProgram(test::Quote(QUILLON_CLI) + " " + c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_NE(run.out.find(c.inOut), std::string::npos) << run.out;
        EXPECT_NE(run.err.find(c.inErr), std::string::npos) << run.err;
        if (c.exitCode == 0)
            EXPECT_EQ(run.err, "");
        else
            EXPECT_EQ(run.out, "");
        if (c.exitCode == 2)
            EXPECT_NE(run.err.find("--help' for more information."), std::string::npos) << run.err;
    }
}

}  // namespace
}  // namespace quillon
