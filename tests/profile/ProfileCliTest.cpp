#include "support/ProgramRun.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace quillon {
namespace {

using test::Quote;
using test::RunProgram;

const std::string kProfile = "{\n"
                             "  \"format\": \"quillon-profile\",\n"
                             "  \"version\": 1,\n"
                             "  \"settings\": [\n"
                             "    {\"code\": \"414100\"},\n"
                             "    {\"code\": \"61820000\", \"value\": \"3000\"}\n"
                             "  ]\n"
                             "}\n";

TEST(ProfileCli, SheetOfAProfileComesBeforeTheCommandLinesEntries)
{
    const test::TempDir dir;
    const std::string profile = dir.Write("p.json", kProfile);
    const struct {
        std::string arguments;
        std::string out;
    } cases[] = {
        {"-o " + Quote((dir.Path() / "a.pdf").string()) + " --profile " + Quote(profile),
         (dir.Path() / "a.pdf").string() + ": 2 entries, 1 page\n"},
        {"-o " + Quote((dir.Path() / "b.png").string()) + " --profile " + Quote(profile) + " 614100",
         (dir.Path() / "b.png").string() + ": 3 entries\n"},
    };
    for (const auto& c : cases) {
        const test::ProgramRun run = RunProgram(std::string(QUILLON_CLI) + " sheet " + c.arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, c.out);
    }
    EXPECT_GT(std::filesystem::file_size(dir.Path() / "a.pdf"), 0u);
    EXPECT_GT(std::filesystem::file_size(dir.Path() / "b.png"), 0u);
}

TEST(ProfileCli, ARefusedProfileIsAWrongArgumentAndWritesNothing)
{
    const test::TempDir dir;
    const std::string profile =
        dir.Write("bad.json", "{\n  \"format\": \"quillon-profile\",\n  \"version\": 1,\n  \"settings\": [\n"
                              "    {\"code\": \"61820000\", \"value\": \"70000\"}\n  ]\n}\n");
    const std::string out = (dir.Path() / "bad.pdf").string();
    const test::ProgramRun run =
        RunProgram(std::string(QUILLON_CLI) + " sheet -o " + Quote(out) + " --profile " + Quote(profile));
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "quillon-cli sheet: " + profile +
                           ":5: option 61820000 refuses the value \"70000\": 触发超时超过最大限制！\n"
                           "Run 'quillon-cli sheet --help' for more information.\n");
    EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace quillon
