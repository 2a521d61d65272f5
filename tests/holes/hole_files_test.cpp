#include "holes/hole_files.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "holes/hole_csv.hpp"
#include "operations/catalog.hpp"

namespace tesmara {
namespace {

namespace fs = std::filesystem;

class HoleFiles : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("tesmara-holes-" + std::to_string(getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path write(const std::string& name, const std::string& bytes) {
        const fs::path path = m_dir / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    fs::path m_dir;
};

struct Problem {
    int line;
    ImportError error;
    std::string detail;
    bool operator==(const ImportProblem& p) const {
        return line == p.line && error == p.error && detail == p.detail;
    }
};

void expectProblems(const HoleImport& got, const std::vector<Problem>& expected) {
    ASSERT_EQ(got.problems.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(expected[i] == got.problems[i])
            << "problem " << i << ": line " << got.problems[i].line << " '"
            << got.problems[i].detail << "'";
    }
}

TEST_F(HoleFiles, CsvRowsWithNamedColumnsAndBadRowsListed) {
    const auto read = readHoleCsvFile(write("holes.csv",
                                            "\xEF\xBB\xBF# from drawing 12\r\n"
                                            "X,Y,孔直径,finalDepth\r\n"
                                            "10,20,8,5\r\n"
                                            "abc,5\r\n"
                                            "30,,6\r\n"
                                            "\r\n"
                                            "40;50;;7\r\n"
                                            "1,2,3,4,5\r\n"
                                            "\"-0.5\",1e1\r\n"),
                                      kMultiHole);
    ASSERT_EQ(read.points.size(), 3u);
    EXPECT_EQ(read.points[0].x, "10.");
    EXPECT_EQ(read.points[0].y, "20.");
    EXPECT_EQ(read.points[0].texts, (FieldValues{{"holeDiameter", "8"}, {"finalDepth", "5"}}));
    EXPECT_EQ(read.points[1].texts, (FieldValues{{"finalDepth", "7"}}))
        << "an empty cell keeps the window's text";
    EXPECT_EQ(read.points[2].x, "-0.5");
    EXPECT_EQ(read.points[2].y, "10.");
    expectProblems(read, {{4, ImportError::NotANumber, "abc"},
                          {5, ImportError::MissingCoordinate, "Y"},
                          {8, ImportError::TooManyCells, ""}});
}

TEST_F(HoleFiles, CsvHeaderThatCannotBeUsedAddsNothing) {
    const struct {
        const char* text;
        Problem problem;
    } cases[] = {
        {"X,Y,toolNumber\n1,2,3\n", {1, ImportError::UnknownColumn, "toolNumber"}},
        {"X,深度\n1,2\n", {1, ImportError::UnknownColumn, "深度"}},
        {"x,坐标X,y\n1,2,3\n", {1, ImportError::RepeatedColumn, "坐标X"}},
        {"X,finalDepth\n1,2\n", {1, ImportError::NoXYColumns, ""}},
    };
    for (const auto& c : cases) {
        const HoleImport read = readHoleCsv(c.text, kMultiHole);
        EXPECT_TRUE(read.points.empty()) << c.text;
        expectProblems(read, {c.problem});
    }
    const HoleImport plain = readHoleCsv("1,2\n\n3\t4\n5,6,7\n", kMultiThread);
    ASSERT_EQ(plain.points.size(), 2u);
    EXPECT_EQ(plain.points[1].x, "3.");
    expectProblems(plain, {{4, ImportError::TooManyCells, ""}});
}

TEST_F(HoleFiles, FileThatCannotBeReadIsOneProblemWithTheReason) {
    const HoleImport missing = readHoleCsvFile(m_dir / "none.csv", kMultiHole);
    expectProblems(missing, {{0, ImportError::FileUnreadable, "No such file or directory"}});
    const HoleImport folder = readDxfHoles(m_dir, std::nullopt);
    expectProblems(folder, {{0, ImportError::NotRegularFile, ""}});
    // A named pipe nobody writes to would block the reader for ever.
    const fs::path pipe = m_dir / "pipe.csv";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    expectProblems(readHoleCsvFile(pipe, kMultiHole), {{0, ImportError::NotRegularFile, ""}});
}

std::string circle(const std::string& x, const std::string& y, const std::string& r,
                   const std::string& extra = "") {
    return "0\nCIRCLE\n8\n0\n" + extra + "10\n" + x + "\n20\n" + y + "\n40\n" + r + "\n";
}

// A circle in a block definition, then in model space: (10,20) r 5, (30,40)
// r 2.5, a circle without radius (its CIRCLE on line 52), (7,8) r 5 seen from below.
const std::string kDrawing = "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB1\n10\n0\n20\n0\n" +
                             circle("1", "1", "1") + "0\nENDBLK\n0\nENDSEC\n" +
                             "0\nSECTION\n2\nENTITIES\n" + circle("10", "20", "5") +
                             circle("30", "40", "2.5") + circle("50", "60", "0") +
                             circle("7", "8", "5", "210\n0\n220\n0\n230\n-1\n") +
                             "0\nLINE\n8\n0\n10\n0\n20\n0\n11\n5\n21\n5\n0\nENDSEC\n0\nEOF\n";

TEST_F(HoleFiles, DxfCircleCentresOptionallyOfOneDiameter) {
    const fs::path path = write("part.dxf", kDrawing);
    if (readDxfHoles(path, std::nullopt).problems.front().error == ImportError::DxfNotBuiltIn) {
        GTEST_SKIP() << "built without the DXF library";
    }
    const HoleImport all = readDxfHoles(path, std::nullopt);
    ASSERT_EQ(all.points.size(), 3u);
    EXPECT_EQ(all.points[0].x, "10.");
    EXPECT_EQ(all.points[0].y, "20.");
    EXPECT_EQ(all.points[1].x, "30.");
    EXPECT_EQ(all.points[2].x, "-7.") << "a circle seen from below is mirrored";
    EXPECT_EQ(all.points[2].y, "8.");
    expectProblems(all, {{52, ImportError::BadRadius, "0."}});

    const HoleImport tens = readDxfHoles(path, 10.0);
    ASSERT_EQ(tens.points.size(), 2u);
    EXPECT_EQ(tens.points[1].x, "-7.");

    const HoleImport none = readDxfHoles(write("empty.dxf", "0\nEOF\n"), 10.0);
    expectProblems(none, {{0, ImportError::NoCircleOfDiameter, "10."}});
    expectProblems(readDxfHoles(path, 3.0), {{52, ImportError::BadRadius, "0."}});
}

}  // namespace
}  // namespace tesmara
