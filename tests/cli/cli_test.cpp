#include "cli/cli.hpp"

#include <gtest/gtest.h>

#include "cli/cli_run.hpp"
#ifndef _WIN32
#include "unprivileged.hpp"
#endif

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
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
    const CliRun written =
        runCli({"generate", "circle-hole", "--file", "-o", path, "toolNumber=1"});
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

#ifndef _WIN32
// Both as an ordinary user and through a POSIX shell's redirections.

// An input that cannot be read is told with its path and the reason; it is
// never checked as if it were an empty program.
TEST(Cli, UnreadableInputsAreNamedWithTheReason) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("tesmara-cli-inputs-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string folder = dir.string();
    const std::string locked = (dir / "locked.nc").string();
    std::ofstream(locked) << "M30\n";
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    struct Case {
        std::vector<std::string_view> args;
        std::string_view reason;
    };
    const std::string svg = (dir / "out.svg").string();
    const Case cases[] = {
        {{"check", folder}, std::strerror(EISDIR)},
        {{"expand", folder}, std::strerror(EISDIR)},
        {{"plot", folder, "-o", svg}, std::strerror(EISDIR)},
        {{"check", "/no/such/file.nc"}, std::strerror(ENOENT)},
        {{"check", locked}, std::strerror(EACCES)},
    };
    for (const Case& c : cases) {
        const std::string input(c.args[1]);
        SCOPED_TRACE(std::string(c.args[0]) + " " + input);
        // As an ordinary user: the superuser reads a file whatever its mode.
        const ChildRun run = runUnprivileged([&](std::string& message) {
            const CliRun r = runCli(c.args);
            message = r.err;
            return r.out.empty() ? r.status : 100;
        });
        EXPECT_EQ(run.status, cli::kFailure);
        EXPECT_NE(run.message.find("cannot read " + input + ": " + std::string(c.reason)),
                  std::string::npos)
            << run.message;
    }
    EXPECT_FALSE(std::filesystem::exists(svg));
    std::filesystem::remove_all(dir);
}

// The real program with its streams redirected by the shell: output that
// cannot be written, or standard input that cannot be read, fails naming
// the stream and the reason.
TEST(Cli, StandardStreamsThatFailAreNamed) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("tesmara-cli-streams-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string program = (dir / "p.nc").string();
    const std::string errors = (dir / "err").string();
    std::ofstream(program) << "M30\n";
    const std::string cli = TESMARA_CLI;
    struct Case {
        std::string command;
        std::string stream;
        std::string reason;
    };
    const std::string full = std::strerror(ENOSPC);
    const Case cases[] = {
        {cli + " generate face toolNumber=1 > /dev/full", "standard output", full},
        {cli + " generate circle-hole --file > /dev/full", "standard output", full},
        {cli + " list > /dev/full", "standard output", full},
        {cli + " check " + program + " > /dev/full", "standard output", full},
        {cli + " check - < " + dir.string(), "standard input", std::strerror(EISDIR)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        const int status = std::system((c.command + " 2> " + errors).c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == cli::kFailure) << status;
        std::ifstream in(errors);
        const std::string told{std::istreambuf_iterator<char>(in), {}};
        const std::string expected = c.stream + ": " + c.reason;
        EXPECT_NE(told.find(expected), std::string::npos) << told;
        EXPECT_EQ(told.find(expected), told.rfind(expected)) << "told once: " << told;
    }
    std::filesystem::remove_all(dir);
}
#endif

}  // namespace
}  // namespace tesmara
