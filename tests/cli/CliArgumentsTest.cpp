#include "support/ProgramRun.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>

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
        {"connect --port COM9 --baud 0", 2, "", "--baud: must be from 1 to 4000000 baud"},
        {"apply p.json --port COM9 --jobs 1e3", 2, "", "--jobs: must be from 1 to 1000 ports at once"},
        {"--lang fr ports", 2, "", "--lang: fr not in {en,zh}"},
        {"ports --lang=EN", 2, "", "--lang: EN not in {en,zh}"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const test::ProgramRun run = test::RunProgram(test::Quote(QUILLON_CLI) + " " + c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_NE(run.out.find(c.inOut), std::string::npos) << run.out;
        EXPECT_NE(run.err.find(c.inErr), std::string::npos) << run.err;
        if (c.exitCode == 0) {
            EXPECT_EQ(run.err, "");
        } else {
            EXPECT_EQ(run.out, "");
        }
        if (c.exitCode == 2) {
            EXPECT_NE(run.err.find("--help' for more information."), std::string::npos) << run.err;
        }
    }
}

#ifdef QUILLON_CLI_SHEET
// What the core says reaches standard error in the interface's language:
// the locale's (LC_ALL, then LC_MESSAGES, then LANG), or --lang's before or
// after the verb; Chinese for every locale but English.
TEST(CliArguments, MessagesSpeakTheLocalesLanguageOrTheOneAskedFor)
{
    const test::TempDir dir;
    const std::string hex = dir.Write("odd.hex", ":0\n");
    const std::string chinese = "quillon-cli firmware: HEX文件第1行十六进制位数为奇数，未发送任何数据！\n";
    const std::string english = "quillon-cli firmware: HEX file line 1: odd number of hex digits; no data was sent!\n";
    const struct {
        const char *environment, *before, *after;
        const std::string& expected;
    } cases[] = {
        {"", "", "", chinese},
        {"LANG=C", "", "", chinese},
        {"LANG=POSIX", "", "", chinese},
        {"LANG=de_DE.UTF-8", "", "", chinese},
        {"LANG=en_US.UTF-8", "", "", english},
        {"LC_MESSAGES=en_GB.UTF-8 LANG=zh_CN.UTF-8", "", "", english},
        {"LC_ALL=zh_CN.UTF-8 LANG=en_US.UTF-8", "", "", chinese},
        {"LANG=C", "--lang en", "", english},
        {"LANG=C", "", "--lang=en", english},
        {"LANG=en_US.UTF-8", "--lang zh", "", chinese},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.environment) + " " + c.before + " " + c.after);
        const test::ProgramRun run = test::RunProgram(std::string("env -u LC_ALL -u LC_MESSAGES -u LANG ") +
                                                      c.environment + " " + test::Quote(QUILLON_CLI) + " " + c.before +
                                                      " firmware --port COM9 " + c.after + " " + test::Quote(hex));
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err, c.expected);
    }
    // Help names the window's texts in the language too.
    EXPECT_NE(test::RunProgram(test::Quote(QUILLON_CLI) + " connect --help --lang en").out.find("(\"COM9, online\""),
              std::string::npos);
    EXPECT_NE(test::RunProgram(test::Quote(QUILLON_CLI) + " connect --help --lang zh").out.find("(\"COM9，联机\""),
              std::string::npos);
}
#endif

// Every verb's help ends with the one table of exit statuses.
TEST(CliArguments, EveryVerbsHelpHoldsTheExitStatuses)
{
    for (const char* verb : {"catalogue", "ports", "version", "image", "listen", "connect", "read", "set", "apply",
                             "diff", "firmware", "send", "sheet"}) {
        SCOPED_TRACE(verb);
        const test::ProgramRun run = test::RunProgram(test::Quote(QUILLON_CLI) + " " + verb + " --help");
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_NE(run.out.find("Exit status: 0 done, 1 the device failed"), std::string::npos) << run.out;
        EXPECT_NE(run.out.find("130 interrupted"), std::string::npos);
    }
}

// What the tool writes reaches its target whole or not at all, and a
// failure is told in the tool's one form with a non-zero status.
TEST(CliArguments, OutputsAndTheirFailures)
{
    const test::TempDir dir;
    const std::string catalogue = std::string(QUILLON_SOURCE_DIR) + "/config/all.xml";
    const std::string sheet = test::Quote(QUILLON_CLI) + " sheet --catalogue " + test::Quote(catalogue) + " 414100 -o ";
    const std::string folder = dir.Path().string();
    const std::string raw = dir.Write("image.ci", "firmware");
    const struct {
        std::string commandLine;
        int exitCode;
        std::string inOut;
        std::string inErr;
        std::string leftOut;  // a file that must not be there afterwards
    } cases[] = {
        {test::Quote(QUILLON_CLI) + " catalogue " + test::Quote(catalogue) + " >/dev/full", 1, "",
         "quillon-cli catalogue: cannot write standard output: No space left on device\n", ""},
#ifdef QUILLON_CLI_SHEET
        {"ln -s /dev/full " + test::Quote(folder + "/dev.pdf") + " && " + sheet + test::Quote(folder + "/dev.pdf"), 1,
         "", "quillon-cli sheet: " + folder + "/dev.pdf: cannot write: No space left on device\n", ""},
        // A disk that fills up half way: the sheet is not left half written.
        {"trap '' XFSZ; ulimit -f 1; " + sheet + test::Quote(folder + "/full.pdf"), 1, "",
         "quillon-cli sheet: " + folder + "/full.pdf: cannot write: File too large\n", folder + "/full.pdf"},
        {"trap '' XFSZ; ulimit -f 1; " + sheet + test::Quote(folder + "/full.png") + " --dpi 600", 1, "",
         "full.png: cannot write: File too large\n", folder + "/full.png"},
        {sheet + test::Quote(folder), 2, "", "must end in .pdf or .png", ""},
        {"env -u XDG_RUNTIME_DIR " + sheet + test::Quote(folder + "/x.pdf"), 0, "x.pdf: 1 entry, 1 page\n", "", ""},
        {sheet + "- >" + test::Quote(folder + "/stdout.pdf") + " && head -c 5 " + test::Quote(folder + "/stdout.pdf"),
         0, "%PDF-", "standard output: 1 entry, 1 page\n", ""},
        {sheet + "\"$(printf '" + folder + "/n\\377u.pdf')\"", 0, "entry", "", ""},  // a name that is not UTF-8
#endif
        {test::Quote(QUILLON_CLI) + " firmware --port COM77 " + test::Quote(folder + "/none.hex"), 2, "",
         "quillon-cli firmware: 未指定文件名！\n" + folder + "/none.hex: No such file or directory\n", ""},
        {test::Quote(QUILLON_CLI) + " firmware --port COM77 " + test::Quote(folder), 2, "",
         "未指定文件名！\n" + folder + ": is a folder\n", ""},
        {"QUILLON_PORT_LINKS=" + test::Quote(folder) + " " + test::Quote(QUILLON_CLI) + " firmware --port COM77 " +
             test::Quote(raw),
         3, "", "quillon-cli firmware: 不能打开指定的COM，请尝试别的端口！\ncannot open COM77: no such port", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.commandLine);
        const test::ProgramRun run = test::RunProgram(c.commandLine);
        test::ExpectRun(run, c.exitCode, c.inOut, c.inErr);
        if (!c.leftOut.empty()) {
            EXPECT_FALSE(std::filesystem::exists(c.leftOut));
        }
    }
    struct stat full {};
    ASSERT_EQ(::stat("/dev/full", &full), 0);
    EXPECT_TRUE(S_ISCHR(full.st_mode)) << "/dev/full was replaced";
#ifdef QUILLON_CLI_SHEET
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "n\xffu.pdf")) << "the name was not kept as given";
    EXPECT_EQ(test::ReadFile(dir.Path() / "x.pdf").substr(0, 5), "%PDF-");
#endif
}

}  // namespace
}  // namespace quillon
