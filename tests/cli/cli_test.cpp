#include "cli/cli.hpp"

#include <gtest/gtest.h>

#include "cli/cli_run.hpp"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tesmara {
namespace {

TEST(Cli, UsageErrorsNameTheProblemAndTheChoicesAndPrintNothing) {
    const UsageCase cases[] = {
        {{}, {"usage"}},
        {{"frobnicate"}, {"unknown command", "generate"}},
        {{"generate"}, {"circle-hole"}},
        {{"generate", "drill"}, {"unknown operation 'drill'", "circle-hole", "face"}},
        {{"generate", "circle-hole", "depth=3"}, {"no field 'depth'", "depthPerCut"}},
        {{"generate", "circle-hole", "next-hole"}, {"next-hole", "single operation"}},
        {{"generate", "circle-hole", "coordX"}, {"'coordX' is not FIELD=TEXT", "toolNumber"}},
        {{"generate", "circle-hole", "--safe-height"}, {"--safe-height needs a value"}},
        {{"generate", "circle-hole", "--verbose"}, {"unknown option '--verbose'", "--header"}},
        {{"list", "extra"}, {"no arguments"}},
    };
    expectUsageErrors(cases);
}

TEST(Cli, ListShowsEveryOperationWithTitleAndFields) {
    const CliRun r = runCli({"list"});
    EXPECT_EQ(r.status, cli::kOk);
    EXPECT_NE(r.out.find("circle-hole\t单圆铣孔\ttoolNumber coordX coordY"), std::string::npos)
        << r.out;
}

TEST(Cli, FileFlagFramesTheProgramAndDashOWritesTheSameBytes) {
    const CliRun slot = runCli({"generate", "circle-hole", "toolNumber=1"});
    const CliRun file = runCli({"generate", "circle-hole", "--file", "toolNumber=1"});
    ASSERT_EQ(file.status, cli::kOk);
    EXPECT_EQ(file.out, "%\r\nO100\r\n" + slot.out + "%");

    const auto dir = std::filesystem::temp_directory_path() / "tesmara-cli-test";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "part.NC").string();
    const CliRun written = runCli({"generate", "circle-hole", "--file", "-o", path, "toolNumber=1"});
    EXPECT_EQ(written.status, cli::kOk) << written.err;
    EXPECT_EQ(written.out, "");
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    EXPECT_EQ(bytes.str(), file.out);
    in.close();  // Windows removes no folder with a file open in it
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1)
        << "no temporary file is left behind";
    std::filesystem::remove_all(dir);
}

TEST(Cli, UnwritableOutputIsReportedWithThePath) {
    const CliRun r = runCli({"generate", "circle-hole", "-o", "/no/such/folder/part.NC"});
    EXPECT_EQ(r.status, cli::kFailure);
    EXPECT_NE(r.err.find("/no/such/folder/part.NC"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace tesmara
