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
        // A Ø20 hole with a radial lead-in under G41 D3.
        write("hole.nc",
              "T3 M6\nM3 S1000\nG43 H3 Z10.\nG1 Z-1. F100.\nG41 G1 X10. Y0 D3\nG3 I-10.\n"
              "G40 G1 X0 Y0\nG0 Z10.\nM30\n");
        write("tools.csv", "tool,diameter\n3,10\n");
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

TEST_F(CheckCli, RunOptionsReachTheRun) {
    write("exact.nc", "#1=0.1+0.2\nIF[#1EQ0.3] GOTO9\n#3000=1(EXACT)\nN9 M30\n");
    EXPECT_EQ(runCli({"check", path("exact.nc")}).status, cli::kOk);
    const CliRun exact = runCli({"check", path("exact.nc"), "--compare", "exact"});
    EXPECT_EQ(exact.status, cli::kFailure);
    EXPECT_NE(exact.out.find("alarm 1: EXACT"), std::string::npos) << exact.out;

    const CliRun unknown = runCli({"check", path("good.nc")});
    EXPECT_NE(unknown.out.find("rapid length: 101. mm"), std::string::npos) << unknown.out;
    const CliRun given = runCli({"check", path("good.nc"), "--start", "3,4,50"});
    EXPECT_NE(given.out.find("rapid length: 51. mm"), std::string::npos) << given.out;
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
              "%\r\nO100\r\nG90 G17 G94\r\nM3 S1000\r\nG43 H1\r\nG0 Z10.\r\n"
              "G1 Z-1. F100.\r\nG3 X0. Y0. I-5. J0.\r\nG0 Z10.\r\nM30\r\n%");
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

TEST_F(CheckCli, ToolTableGivesTheFinishedDiameterAndTheCentrePath) {
    const std::string tools = path("tools.csv");
    const CliRun without = runCli({"check", path("hole.nc")});
    EXPECT_EQ(without.status, cli::kOk);
    EXPECT_NE(without.out.find("no radius for D3"), std::string::npos) << without.out;

    const CliRun with = runCli({"check", path("hole.nc"), "--tool-table", tools});
    EXPECT_EQ(with.status, cli::kOk) << with.out;
    EXPECT_NE(with.out.find("swept diameter 0 to 20, finished hole diameter 20"), std::string::npos)
        << with.out;
    const CliRun json = runCli({"check", path("hole.nc"), "--json", "--tool-table", tools});
    EXPECT_NE(json.out.find("\"outerDiameter\":20,\"finishedDiameter\":20}"), std::string::npos)
        << json.out;

    const std::string out = path("centre.nc");
    const CliRun centre =
        runCli({"expand", path("hole.nc"), "--centre-line", "--tool-table", tools, "-o", out});
    EXPECT_EQ(centre.status, cli::kOk) << centre.err;
    EXPECT_EQ(readFile(out),
              "%\r\nO100\r\nG90 G17 G94\r\nT3 M6\r\nM3 S1000\r\nG43 H3\r\nG0 Z10.\r\n"
              "G1 Z-1. F100.\r\nG1 X5. Y0.\r\nG3 X5. Y0. I-5. J0.\r\n"
              "G1 X0. Y0.\r\nG0 Z10.\r\nM30\r\n%");
    const CliRun plain =
        runCli({"expand", path("good.nc"), "--centre-line", "--tool-table", tools});
    EXPECT_EQ(plain.out, runCli({"expand", path("good.nc")}).out) << "nothing compensated";
    const CliRun kept = runCli({"expand", path("hole.nc"), "--tool-table", tools});
    EXPECT_NE(kept.out.find("G41 G1 X10. Y0. D3"), std::string::npos) << kept.out;

    const std::string svg = path("hole.svg");
    ASSERT_EQ(runCli({"plot", path("hole.nc"), "--tool-table", tools, "-o", svg}).status, cli::kOk);
    const std::string drawing = readFile(svg);
    EXPECT_NE(drawing.find("stroke-linecap=\"round\""), std::string::npos) << "the swept band";
    EXPECT_NE(drawing.find("<polygon"), std::string::npos) << "the tool's width from the side";
    EXPECT_NE(drawing.find("stroke=\"#006ee6\""), std::string::npos) << "the tool centre";
}

TEST_F(CheckCli, ToolTableProblemsNameTheFileAndTheLine) {
    write("broken.csv", "tool,diameter\n3,10\n4,wide\n");
    const CliRun broken = runCli({"check", path("hole.nc"), "--tool-table", path("broken.csv")});
    EXPECT_EQ(broken.status, cli::kFailure);
    EXPECT_NE(broken.err.find(path("broken.csv") + " line 3: diameter 'wide'"), std::string::npos)
        << broken.err;
    const CliRun missing =
        runCli({"plot", path("hole.nc"), "--tool-table", path("none.csv"), "-o", path("x.svg")});
    EXPECT_EQ(missing.status, cli::kFailure);
    EXPECT_NE(missing.err.find("none.csv: No such file"), std::string::npos) << missing.err;

    write("other.csv", "tool,diameter\n4,30\n");
    const CliRun unknown =
        runCli({"expand", path("hole.nc"), "--centre-line", "--tool-table", path("other.csv")});
    EXPECT_EQ(unknown.status, cli::kFailure);
    EXPECT_EQ(unknown.out, "");
    EXPECT_NE(unknown.err.find("no radius for D3"), std::string::npos) << unknown.err;

    write("large.csv", "tool,diameter\n3,20\n");
    const CliRun large = runCli({"check", path("hole.nc"), "--tool-table", path("large.csv")});
    EXPECT_EQ(large.status, cli::kFailure);
    EXPECT_NE(large.out.find("error: line 6: the tool is too large"), std::string::npos)
        << large.out;
}

TEST(CheckCliUsage, UsageErrorsNameTheProblemAndTheChoices) {
    const UsageCase cases[] = {
        {{"check"}, {"name a FILE", "-"}},
        {{"check", "a.nc", "b.nc"}, {"one FILE", "b.nc"}},
        {{"check", "a.nc", "--verbose"}, {"unknown option '--verbose'", "--json", "--rapid-rate"}},
        {{"check", "a.nc", "-o", "x"}, {"unknown option '-o'", "--json"}},
        {{"check", "a.nc", "--block-limit", "many"}, {"--block-limit takes a whole", "many"}},
        {{"check", "a.nc", "--block-limit", "0"}, {"from 1", "'0'"}},
        {{"check", "a.nc", "--block-limit", "1e300"}, {"--block-limit"}},
        {{"check", "a.nc", "--rapid-rate", "inf"}, {"--rapid-rate takes a rate", "'inf'"}},
        {{"check", "a.nc", "--rapid-rate", "-5"}, {"above 0"}},
        {{"check", "a.nc", "--reference-z", "nan"}, {"--reference-z takes a Z", "'nan'"}},
        {{"check", "a.nc", "--reference-z", "1e300"}, {"--reference-z"}},
        {{"check", "a.nc", "--start", "1,2"}, {"--start takes X,Y,Z", "'1,2'"}},
        {{"check", "a.nc", "--start", "1,2,3,4"}, {"--start takes X,Y,Z"}},
        {{"check", "a.nc", "--start", "1,inf,3"}, {"--start takes X,Y,Z"}},
        {{"plot", "a.nc", "-o", "a.svg", "--start", ",,"}, {"--start takes X,Y,Z"}},
        {{"expand", "a.nc", "--compare", "fuzzy"}, {"--compare takes exact or tolerant"}},
        {{"check", "a.nc", "--rapid-rate"}, {"--rapid-rate needs a value"}},
        {{"expand", "a.nc", "--json"}, {"unknown option '--json'", "-o PATH"}},
        {{"expand", "a.nc", "--centre-line"}, {"--centre-line needs --tool-table FILE"}},
        {{"check", "a.nc", "--centre-line"}, {"unknown option '--centre-line'", "--tool-table"}},
        {{"check", "a.nc", "--tool-table"}, {"--tool-table needs a value"}},
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
