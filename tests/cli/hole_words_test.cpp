#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "cli/cli_run.hpp"

namespace tesmara {
namespace {

namespace fs = std::filesystem;

// The same program as typing each hole and pressing "下一孔".
TEST(CliHoleWords, PatternsAddHolesInOrderWithTheTextsTypedSoFar) {
    const CliRun pattern = runCli({"generate", "multi-hole", "toolNumber=2", "subprogramNumber=5",
                                   "coordX=1", "next-hole", "--bolt-circle", "0,0,100,4,90",
                                   "finalDepth=3", "--grid", "-5,5,10,2.5,2,1"});
    const CliRun typed =
        runCli({"generate",   "multi-hole", "toolNumber=2", "subprogramNumber=5", "coordX=1",
                "next-hole",  "coordX=0.",  "coordY=50.",   "next-hole",          "coordX=-50.",
                "coordY=0.",  "next-hole",  "coordX=0.",    "coordY=-50.",        "next-hole",
                "coordX=50.", "coordY=0.",  "next-hole",    "finalDepth=3",       "coordX=-5.",
                "coordY=5.",  "next-hole",  "coordX=5.",    "next-hole"});
    ASSERT_EQ(pattern.status, cli::kOk) << pattern.err;
    EXPECT_EQ(pattern.out, typed.out);
    EXPECT_NE(pattern.out.find("G0 G90 G54 X1. Y. M3"), std::string::npos) << pattern.out;
}

TEST(CliHoleWords, ThreadFillsTheThreeThreadFields) {
    for (const char* op : {"thread", "multi-thread"}) {
        const CliRun table = runCli({"generate", op, "--thread", "M10", "next-hole"});
        const CliRun typed = runCli({"generate", op, "threadMajorDiameter=10.", "threadPitch=1.5",
                                     "threadMinorDiameter=8.376", "next-hole"});
        if (std::string_view(op) == "thread") {
            EXPECT_EQ(table.status, cli::kUsage) << "next-hole is refused in a single window";
            continue;
        }
        ASSERT_EQ(table.status, cli::kOk) << table.err;
        EXPECT_EQ(table.out, typed.out);
    }
    const CliRun single = runCli({"generate", "thread", "--thread", "M10x1.25", "threadPitch=1"});
    const CliRun typed = runCli({"generate", "thread", "threadMajorDiameter=10.",
                                 "threadMinorDiameter=8.647", "threadPitch=1"});
    EXPECT_EQ(single.out, typed.out) << "a later word still overrides the table";
}

class CliHoleFiles : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("tesmara-cli-holes-" + std::to_string(getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    std::string write(const std::string& name, const std::string& bytes) {
        std::ofstream(m_dir / name, std::ios::binary) << bytes;
        return (m_dir / name).string();
    }
    fs::path m_dir;
};

TEST_F(CliHoleFiles, CsvAndDxfHolesAndTheirErrors) {
    const std::string csv = write("holes.csv", "X,Y,孔直径\n10,20,8\n-3.25,4\n");
    const CliRun fromCsv =
        runCli({"generate", "multi-hole", "holeDiameter=6", "--holes", csv.c_str()});
    const CliRun typed =
        runCli({"generate", "multi-hole", "coordX=10.", "coordY=20.", "holeDiameter=8", "next-hole",
                "holeDiameter=6", "coordX=-3.25", "coordY=4.", "next-hole"});
    ASSERT_EQ(fromCsv.status, cli::kOk) << fromCsv.err;
    EXPECT_EQ(fromCsv.out, typed.out);

    const std::string bad = write("bad.csv", "1,2\nx,3\n4,5,6\n");
    const std::string dxf = write("part.dxf",
                                  "0\nSECTION\n2\nENTITIES\n0\nCIRCLE\n8\n0\n10\n1\n"
                                  "20\n2\n40\n3\n0\nENDSEC\n0\nEOF\n");
    const std::string missing = (m_dir / "none.csv").string();
    // The messages outlive the table of cases that points into them.
    const std::string badRow = bad + ":2: 'x' is not a number";
    const std::string badCells = bad + ":3: more cells than columns";
    const std::string unreadable = missing + ": cannot be read: No such file";
    const std::string noCircle = dxf + ": the drawing has no circle of diameter 5.";
    const UsageCase cases[] = {
        {{"generate", "multi-hole", "--holes", bad}, {badRow, badCells}},
        {{"generate", "multi-hole", "--holes", missing}, {unreadable}},
        {{"generate", "multi-hole", "--dxf", dxf, "--diameter", "5"}, {noCircle}},
        {{"generate", "multi-hole", "--dxf", dxf, "--diameter", "five"}, {"--diameter 'five'"}},
        {{"generate", "multi-hole", "--diameter", "5"}, {"right after --dxf FILE"}},
        {{"generate", "multi-hole", "--bolt-circle", "0,0,100"}, {"'0,0,100' has 3 values"}},
        {{"generate", "multi-hole", "--bolt-circle", "0,0,100,0"}, {"'0' is not COUNT"}},
        {{"generate", "multi-hole", "--grid", "0,0,1,1,50,50"}, {"'50' is not a count", "1000"}},
        {{"generate", "circle-hole", "--grid", "0,0,1,1,2,2"}, {"single operation"}},
        {{"generate", "multi-hole", "--thread", "M10"}, {"no thread fields"}},
        {{"generate", "thread", "--thread", "M11"}, {"'M11' is not an ISO metric thread"}},
        {{"generate", "thread", "--thread"}, {"--thread needs a value"}},
    };
    expectUsageErrors(cases);

    const CliRun drawing = runCli({"generate", "multi-hole", "--dxf", dxf, "--diameter", "6"});
    ASSERT_EQ(drawing.status, cli::kOk) << drawing.err;
    EXPECT_NE(drawing.out.find("#30=1.\r\n#31=2.\r\n"), std::string::npos) << drawing.out;
}

}  // namespace
}  // namespace tesmara
