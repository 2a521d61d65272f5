// tesmara-cli check, expand and plot: exit statuses, output forms, usage errors.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.hpp"
#include "cli/cli_run.hpp"
#include "cli/png.hpp"

namespace tesmara {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class CheckCli : public testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("tesmara-check-cli-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
        write("good.nc",
              "%\r\nO100\r\nM3 S1000\r\nG43 H1 Z10.\r\nG1 Z-1. F100.\r\n"
              "G3 I-5.\r\nG0 Z10.\r\nM30\r\n%");
        write("bad.nc", "M3 S1000\nG43 H1 Z10.\nG1 X12,5 F100.\n");
        write("warn.nc", "M3 S1000\nG43 H1 Z10.\nG1 X10 F100.\n");
        write("comp.nc", "M3 S1000\nG43 H1 Z10.\nG1 Z-1. F100.\nG41 X5. D1\nG40 X0\nG0 Z10.\n");
    }
    void TearDown() override { fs::remove_all(m_dir); }

    void write(const std::string& name, const std::string& text) {
        std::ofstream(m_dir / name, std::ios::binary) << text;
    }
    std::string path(const std::string& name) const { return (m_dir / name).string(); }

    fs::path m_dir;
};

TEST_F(CheckCli, ExitStatusTellsWhetherThereIsAnError) {
    const std::string good = path("good.nc");
    const std::string bad = path("bad.nc");
    const std::string warn = path("warn.nc");
    const CliRun ok = runCli({"check", good});
    EXPECT_EQ(ok.status, cli::kOk) << ok.out;
    EXPECT_NE(ok.out.find("cycle time:"), std::string::npos);
    EXPECT_NE(ok.out.find("acceleration ignored"), std::string::npos);
    EXPECT_NE(ok.out.find("deepest Z: -1."), std::string::npos) << ok.out;

    const CliRun warned = runCli({"check", warn});
    EXPECT_EQ(warned.status, cli::kOk);
    EXPECT_NE(warned.out.find("warning: line 3, column 4"), std::string::npos) << warned.out;

    const CliRun failed = runCli({"check", bad});
    EXPECT_EQ(failed.status, cli::kFailure);
    EXPECT_NE(failed.out.find("error: line 3, column 7"), std::string::npos) << failed.out;
    EXPECT_NE(failed.out.find("[decimal-comma]"), std::string::npos);
}

TEST_F(CheckCli, JsonNamesCodesAndLines) {
    const CliRun r = runCli({"check", path("bad.nc"), "--json"});
    EXPECT_EQ(r.status, cli::kFailure);
    EXPECT_TRUE(r.out.starts_with("{\"summary\":{\"blocksExecuted\":2,")) << r.out;
    EXPECT_NE(r.out.find("{\"severity\":\"error\",\"code\":\"decimal-comma\",\"program\":0,"
                         "\"line\":3,\"column\":7,\"message\":\""),
              std::string::npos)
        << r.out;
}

TEST_F(CheckCli, ExpandWritesPlainGCodeAndRefusesAProgramWithErrors) {
    const std::string out = path("plain.nc");
    const CliRun r = runCli({"expand", path("good.nc"), "-o", out});
    EXPECT_EQ(r.status, cli::kOk) << r.err;
    EXPECT_EQ(readFile(out),
              "%\r\nO100\r\nG90 G17 G94\r\nM3 S1000\r\nG43 H1\r\nG0 X0. Y0. Z10.\r\n"
              "G1 X0. Y0. Z-1. F100.\r\nG3 X0. Y0. Z-1. I-5. J0.\r\nG0 X0. Y0. Z10.\r\nM30\r\n%");
    const CliRun bad = runCli({"expand", path("bad.nc")});
    EXPECT_EQ(bad.status, cli::kFailure);
    EXPECT_EQ(bad.out, "");
    EXPECT_NE(bad.err.find("decimal-comma"), std::string::npos);
}

TEST_F(CheckCli, PlotDrawsSvgAndPng) {
    const std::string svg = path("path.svg");
    ASSERT_EQ(runCli({"plot", path("good.nc"), "-o", svg}).status, cli::kOk);
    const std::string text = readFile(svg);
    EXPECT_TRUE(text.starts_with("<svg")) << text.substr(0, 80);
    EXPECT_NE(text.find("stroke-dasharray"), std::string::npos) << "rapids are dashed";
    EXPECT_EQ(text.find("stroke-width"), std::string::npos) << "nothing compensated";
    EXPECT_NE(text.find("side view"), std::string::npos);
    EXPECT_NE(text.find("feed X -10 to 0, Y -5 to 5, Z -1 to 10"), std::string::npos);

    const std::string comp = path("comp.svg");
    ASSERT_EQ(runCli({"plot", path("comp.nc"), "-o", comp}).status, cli::kOk);
    EXPECT_NE(readFile(comp).find("stroke-width=\"2\""), std::string::npos)
        << "compensated moves are marked";

    const std::string png = path("path.png");
    if (cli::pngSupported()) {
        ASSERT_EQ(runCli({"plot", path("good.nc"), "-o", png}).status, cli::kOk);
        EXPECT_TRUE(readFile(png).starts_with("\x89PNG"));
        const CliRun unwritable =
            runCli({"plot", path("good.nc"), "-o", "/no/such/folder/path.png"});
        EXPECT_EQ(unwritable.status, cli::kFailure);
        EXPECT_NE(unwritable.err.find("/no/such/folder/path.png: "), std::string::npos)
            << "names the file and the reason: " << unwritable.err;
    } else {
        const CliRun without = runCli({"plot", path("good.nc"), "-o", png});
        EXPECT_EQ(without.status, cli::kUsage);
        EXPECT_NE(without.err.find("SVG only"), std::string::npos) << without.err;
        EXPECT_FALSE(fs::exists(png));
    }

    const CliRun bad = runCli({"plot", path("bad.nc"), "-o", svg});
    EXPECT_EQ(bad.status, cli::kFailure);
    EXPECT_TRUE(fs::exists(svg)) << "drawn as far as it ran";
}

TEST_F(CheckCli, PlotOfAProgramThatNeverEndsDrawsItsFirstMovesOnly) {
    write("loop.nc", "M3 S1000\nG43 H1 Z10.\nN1 G1 X5. F100.\nX0\nGOTO1\n");
    const std::string svg = path("loop.svg");
    const CliRun r = runCli({"plot", path("loop.nc"), "-o", svg});
    EXPECT_EQ(r.status, cli::kFailure);
    EXPECT_NE(r.err.find("does not end"), std::string::npos) << r.err;
    const std::string text = readFile(svg);
    EXPECT_NE(text.find("first 50000 of "), std::string::npos);
    EXPECT_LT(text.size(), 40'000'000u) << "one drawn move per stroke, at most the cap";
}

TEST(CheckCliUsage, UsageErrorsNameTheProblemAndTheChoices) {
    const UsageCase cases[] = {
        {{"check"}, {"name a FILE", "-"}},
        {{"check", "a.nc", "b.nc"}, {"one FILE", "b.nc"}},
        {{"check", "a.nc", "--verbose"}, {"unknown option '--verbose'", "--json", "--rapid-rate"}},
        {{"check", "a.nc", "-o", "x"}, {"unknown option '-o'", "--json"}},
        {{"check", "a.nc", "--block-limit", "many"}, {"--block-limit takes a number", "many"}},
        {{"check", "a.nc", "--rapid-rate"}, {"--rapid-rate needs a value"}},
        {{"expand", "a.nc", "--json"}, {"unknown option '--json'", "-o PATH"}},
        {{"plot", "a.nc"}, {".svg or .png"}},
        {{"plot", "a.nc", "-o", "a.pdf"}, {".svg or .png"}},
        {{"examine"}, {"check, expand, plot"}},
    };
    expectUsageErrors(cases);
}

TEST(CheckCliUsage, AnUnreadableFileIsAFailureNamingIt) {
    const CliRun r = runCli({"check", "/no/such/file.nc"});
    EXPECT_EQ(r.status, cli::kFailure);
    EXPECT_NE(r.err.find("/no/such/file.nc"), std::string::npos);
    EXPECT_NE(r.err.find("No such file"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace tesmara
