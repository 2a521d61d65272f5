// Cutter radius compensation: the tool centre path of small programs with
// known offsets, and more moves the control would refuse or gouge than the
// diagnostics table holds.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "check/check.hpp"

namespace tesmara::check {
namespace {

constexpr double kTol = 1e-3;

// Tool 1 Ø4 (D1 radius 2), tool 2 Ø8 (D2 radius 4), tool 3 Ø10 (D3 radius 5).
const char* const kTools = "tool,diameter\n1,4\n2,8\n3,10\n";

// The tool starts above the work zero, so a first move to the start-up point
// has a length.
CheckResult checkWith(const char* program, const char* csv = kTools) {
    CheckOptions options;
    options.start = Point3{0.0, 0.0, 100.0};
    options.tools = parseToolTable(csv).table;
    return checkProgram(program, options);
}

struct PathCase {
    const char* name;
    const char* program;
    // The centre path after the positioning move of line 1: its start, then
    // every piece's end (X, Y).
    std::vector<Point3> points;
};

void PrintTo(const PathCase& c, std::ostream* os) {
    *os << c.name;
}

const PathCase kPaths[] = {
    {"OutsideSquareJoinsRightAngleCornersWhereTheOffsetsMeet",
     "G0 X-10 Y-10\nG41 D1 G1 X0 Y0 F100\nY20\nX20\nY0\nG40 X30",
     {{-10, -10}, {-2, 0}, {-2, 22}, {22, 22}, {22, 0}, {30, 0}}},
    {"InsideSquareStopsAtTheIntersection",
     "G0 X10 Y10\nG41 D1 G1 X20 F100\nY20\nX0\nG40 X10 Y10",
     {{10, 10}, {18, 10}, {18, 18}, {0, 18}, {10, 10}}},
    {"SharpOutsideCornerRunsOnByTheRadius",
     "G0 X0 Y0\nG42 D1 G1 X10 F100\nX30\nX10 Y5\nG40 X0 Y10",
     {{0, 0}, {10, -2}, {32, -2}, {32.4254, 1.4552}, {10.4851, 6.9403}, {0, 10}}},
    {"StraightMoveWithANewRegisterSlantsToTheNewOffset",
     "G0 X0 Y0\nG41 D1 G1 X10 F100\nX20 D2\nG40 X30",
     {{0, 0}, {10, 2}, {20, 4}, {30, 0}}},
    {"HoleWithARadialLeadInStartsSquareToTheArc",
     "G0 X0 Y0\nG41 G1 X10 Y0 D3 F100\nG3 I-10\nG40 G1 X0 Y0",
     {{0, 0}, {5, 0}, {5, 0}, {0, 0}}},
    {"BossOutsideTheArcWidensItsRadius",
     "G0 X-20 Y-10\nG41 D1 G1 X-10 Y0 F100\nG2 I10\nG40 G1 X-20 Y10",
     {{-20, -10}, {-12, 0}, {-12, 0}, {-20, 10}}},
    {"TangentLineIntoAnInsideArc",
     "G0 X0 Y-10\nG41 D1 G1 X0 Y0 F100\nX10\nG3 X10 Y20 J10\nG40 G1 X0 Y20",
     {{0, -10}, {0, 2}, {10, 2}, {10, 18}, {0, 20}}},
    {"ZOnlyMoveKeepsTheOffset",
     "G0 X0 Y0\nG41 D1 G1 X10 F100\nZ-1\nX20\nG40 X30",
     {{0, 0}, {10, 2}, {10, 2}, {20, 2}, {30, 0}}},
};

class CentrePath : public testing::TestWithParam<PathCase> {};

TEST_P(CentrePath, FollowsTheOffsetTheControlWouldCut) {
    const CheckResult r = checkWith(GetParam().program);
    ASSERT_FALSE(r.hasError()) << r.diagnostics.front().message;
    const std::vector<Point3>& want = GetParam().points;
    std::vector<Point3> got;
    for (const Segment& s : r.centrePath) {
        if (s.line == 1) {
            continue;
        }
        if (got.empty()) {
            got.push_back(s.start);
        }
        got.push_back(s.end);
    }
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_NEAR(got[i].x, want[i].x, kTol) << "point " << i;
        EXPECT_NEAR(got[i].y, want[i].y, kTol) << "point " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Programs, CentrePath, testing::ValuesIn(kPaths),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CentrePath, ArcsKeepTheirCentreAndChangeTheirRadiusBySide) {
    const CheckResult hole = checkWith("G0 X0\nG41 G1 X10 Y0 D3 F100\nG3 I-10\nG40 G1 X0 Y0");
    const CheckResult boss = checkWith("G0 X-20 Y-10\nG41 D1 G1 X-10 Y0 F100\nG2 I10\nG40 G1 X-20");
    for (const auto& [r, radius] : {std::pair{&hole, 5.0}, std::pair{&boss, 12.0}}) {
        ASSERT_GE(r->centrePath.size(), 3u);
        const Segment& arc = r->centrePath[r->centrePath.size() - 2];
        EXPECT_EQ(arc.shape, Shape::Arc);
        EXPECT_NEAR(arc.centreX, 0.0, kTol);
        EXPECT_NEAR(arc.radius, radius, kTol);
        EXPECT_NEAR(std::fabs(arc.sweep), 2 * std::numbers::pi, 1e-9) << "still a full circle";
    }
}

TEST(CentrePath, ProgrammedPathStaysWhenTheRegisterHasNoRadius) {
    const char* program = "G41 G1 X10 Y0 D7 F100\nG3 I-10\nG40 G1 X0 Y0";
    const CheckResult noTable = checkProgram(program);
    EXPECT_TRUE(noTable.centrePath.empty());
    EXPECT_EQ(noTable.summary.registersWithoutRadius, std::vector<int>{7});
    const CheckResult r = checkWith(program);
    EXPECT_FALSE(r.hasError());
    EXPECT_EQ(r.summary.registersWithoutRadius, std::vector<int>{7});
    ASSERT_EQ(r.centrePath.size(), r.segments.size());
    EXPECT_NEAR(r.centrePath[1].radius, 10.0, kTol);
    EXPECT_TRUE(r.summary.circles.empty()) << "no finished size from an unknown radius";
}

TEST(CentrePath, RadiusRegisterColumnChoosesTheRegister) {
    const char* program = "G41 G1 X10 Y0 D23 F100\nG3 I-10\nG40 G1 X0 Y0";
    const CheckResult r = checkWith(program, "tool,diameter,radius_register\n5,6,23\n");
    ASSERT_FALSE(r.hasError());
    EXPECT_NEAR(r.centrePath[1].radius, 7.0, kTol);
}

struct RefusalCase {
    const char* name;
    const char* program;
    Code code;
    int line;
    const char* mentions;
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.name;
}

const RefusalCase kRefusals[] = {
    {"ToolLargerThanAnInsideArc", "G0 X-10\nG41 D2 G1 X0 Y0 F100\nG3 X6 Y0 I3\nG40 G1 X10",
     Code::ToolTooLarge, 3, "arc radius 3"},
    {"StartUpShorterThanTheRadius", "G0 X0 Y0\nG41 D3 G1 X1 Y0 F100\nX1 Y10\nG40 X0",
     Code::CompensationInterference, 2, "radius 5 (D3)"},
    {"CancelOnAnArc", "G41 D1 G1 X10 Y0 F100\nG40 G3 I-10", Code::CompensationOnArc, 2, "G40"},
};

class Refusal : public testing::TestWithParam<RefusalCase> {};

TEST_P(Refusal, NamesTheLineAndTheRadius) {
    const RefusalCase& c = GetParam();
    const CheckResult r = checkWith(c.program);
    ASSERT_TRUE(r.hasError());
    const Diagnostic& d = r.diagnostics.back();
    EXPECT_EQ(d.code, c.code) << d.message;
    EXPECT_EQ(d.line, c.line);
    EXPECT_NE(d.message.find(c.mentions), std::string::npos) << d.message;
}

INSTANTIATE_TEST_SUITE_P(Programs, Refusal, testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tesmara::check
