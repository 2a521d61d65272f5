// Motion words: where each block leaves the tool, arcs, polar, offsets, totals.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <string>

#include "check/check.hpp"

namespace tesmara::check {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTol = 1e-9;

// These cases are about where blocks lead, so the tool starts at a known point.
CheckResult fromWorkZero(const std::string& program) {
    CheckOptions options;
    options.start = Point3{};
    return checkProgram(program, options);
}

const Segment& lastSegment(const CheckResult& r) {
    static const Segment kNone;
    return r.segments.empty() ? kNone : r.segments.back();
}

struct EndCase {
    const char* name;
    const char* program;
    Point3 end;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const EndCase& c, std::ostream* os) {
    *os << c.name;
}

const EndCase kEnds[] = {
    {"AbsoluteAndIncremental", "G0 X5. Y5. Z5.\nG91 G0 X1. Z-2.\nG90 X2.", {2, 5, 3}},
    {"VacantWordIsDropped", "G0 X5.\nG0 X#1 Y10.", {5, 10, 0}},
    {"ExpressionsInWords", "#1=4\nG0 X[#1*2] Y-#1 Z[-#1]", {8, -4, -4}},
    {"LocalShiftMovesTheOrigin", "G52 X100. Y50.\nG0 X1. Y2.\nG52 X0 Y0\nG0 X3.", {3, 52, 0}},
    {"PolarAbsoluteFromTheShiftedZero", "G52 X100. Y50.\nG90 G16\nG0 X10. Y90.", {100, 60, 0}},
    {"PolarIncrementalFromTheCurrentPoint", "G0 X5. Y5.\nG91 G16\nG0 X10. Y180.", {-5, 5, 0}},
    {"PolarOffAgain", "G16\nG0 X10. Y90.\nG15\nG0 X10.", {10, 10, 0}},
    {"ThreadLeadInPoint", "G52 X100.\nG16\nG01 X0.001 Y300.\nG15", {100.0005, -0.000866025, 0}},
    {"ShiftStaysAcrossACall",
     "G52 X10. Y20.\nM98 P1\nG0 X0 Y0\nM30\nO1\nG0 X1. Y1.\nM99",
     {10, 20, 0}},
    {"HomeGoesToTheReferenceAlongTheGivenAxes", "G0 X5. Y5. Z5.\nG91 G28 Z0", {5, 5, 100}},
    {"HomeThroughAnIntermediatePoint", "G0 X5. Y5. Z5.\nG90 G28 Y8.", {5, 0, 5}},
};

class EndPoint : public testing::TestWithParam<EndCase> {};

TEST_P(EndPoint, LeavesTheToolWhereTheControlWould) {
    const CheckResult r = fromWorkZero(GetParam().program);
    ASSERT_FALSE(r.hasError()) << r.diagnostics.front().message;
    const Point3 e = lastSegment(r).end;
    const Point3 want = GetParam().end;
    EXPECT_NEAR(e.x, want.x, 1e-6);
    EXPECT_NEAR(e.y, want.y, 1e-6);
    EXPECT_NEAR(e.z, want.z, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Blocks, EndPoint, testing::ValuesIn(kEnds),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Motion, HomeMakesTwoRapidsWhenTheIntermediatePointDiffers) {
    const CheckResult r = checkProgram("G0 X5. Y5. Z5.\nG90 G28 Y8.");
    ASSERT_EQ(r.segments.size(), 3u);
    EXPECT_DOUBLE_EQ(r.segments[1].end.y, 8.0);
    EXPECT_EQ(r.segments[2].kind, MoveKind::Rapid);
}

TEST(Motion, ReferenceAndWorkOffsetsAreOptions) {
    CheckOptions options;
    options.reference.z = 150.0;
    options.workOffsets[1] = {100.0, 0.0, -20.0};
    const CheckResult r = checkProgram("G55 G0 X1. Z0\nG91 G28 Z0", options);
    ASSERT_EQ(r.segments.size(), 2u);
    EXPECT_DOUBLE_EQ(r.segments[0].end.x, 101.0);
    EXPECT_DOUBLE_EQ(r.segments[0].end.z, -20.0);
    EXPECT_DOUBLE_EQ(r.segments[1].end.z, 150.0);
}

struct ArcCase {
    const char* name;
    const char* program;  // starts at X10. Y0
    double centreX, centreY, sweep, endZ;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const ArcCase& c, std::ostream* os) {
    *os << c.name;
}

const ArcCase kArcs[] = {
    {"QuarterCcwWithR", "G3 X0 Y10. R10.", 0, 0, kPi / 2, 0},
    {"NegativeRTakesTheLongWay", "G3 X0 Y10. R-10.", 10, 10, 3 * kPi / 2, 0},
    {"ClockwiseWithR", "G2 X0 Y10. R10.", 10, 10, -kPi / 2, 0},
    {"HalfCircleWithRExactlyReaching", "G3 X-10. Y0 R10.", 0, 0, kPi, 0},
    {"FullCircleWithIJ", "G3 I-10.", 0, 0, 2 * kPi, 0},
    {"HelicalFullCircleClockwise", "G2 I-10. Z-5.", 0, 0, -2 * kPi, -5},
    {"IJAreRelativeEvenInG91", "G91 G3 X-10. Y10. I-10.", 0, 0, kPi / 2, 0},
};

class Arc : public testing::TestWithParam<ArcCase> {};

TEST_P(Arc, HasTheControlsCentreAndSweep) {
    const ArcCase& c = GetParam();
    const CheckResult r = fromWorkZero(std::string("G0 X10. Y0\nG1 F100.\n") + c.program);
    ASSERT_FALSE(r.hasError()) << r.diagnostics.front().message;
    const Segment& s = lastSegment(r);
    ASSERT_EQ(s.shape, Shape::Arc);
    EXPECT_NEAR(s.centreX, c.centreX, kTol);
    EXPECT_NEAR(s.centreY, c.centreY, kTol);
    EXPECT_NEAR(s.sweep, c.sweep, 1e-9);
    EXPECT_EQ(s.clockwise, c.sweep < 0);
    EXPECT_NEAR(s.radius, 10.0, kTol);
    EXPECT_NEAR(s.end.z, c.endZ, kTol);
}

INSTANTIATE_TEST_SUITE_P(Arcs, Arc, testing::ValuesIn(kArcs),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Motion, SummaryAddsLengthsTimeExtentsAndTools) {
    CheckOptions atZero;
    atZero.start = Point3{};
    const CheckResult r = checkProgram(
        "T3 M6\nM3 S1000\nG43 H3 Z0\nG1 X100. F1000.\nG3 X100. Y0 I-50.\nG0 X0\nT5\nM6\nM30",
        atZero);
    ASSERT_FALSE(r.hasError());
    const Summary& s = r.summary;
    EXPECT_NEAR(s.feedLength, 100.0 + 2 * kPi * 50, 1e-9);
    EXPECT_NEAR(s.rapidLength, 100.0, 1e-9);
    EXPECT_NEAR(s.cycleSeconds, (100.0 + 2 * kPi * 50) / 1000 * 60 + 100.0 / 20000 * 60, 1e-9);
    ASSERT_TRUE(s.feedExtents.valid);
    EXPECT_NEAR(s.feedExtents.min.x, 0, kTol);
    EXPECT_NEAR(s.feedExtents.max.x, 100, kTol);
    EXPECT_NEAR(s.feedExtents.min.y, -50, kTol);
    EXPECT_NEAR(s.feedExtents.max.y, 50, kTol);
    EXPECT_EQ(s.toolsUsed, (std::vector<int>{3, 5}));
    EXPECT_EQ(r.segments[1].tool, 3);
    EXPECT_EQ(r.segments[1].spindle, 1000.0);
    EXPECT_EQ(r.segments[1].feed, 1000.0);
    EXPECT_TRUE(s.ended);
}

struct StartCase {
    const char* name;
    const char* program;
    std::optional<Point3> start;
    double rapidLength;
    double deepestZ;
};

void PrintTo(const StartCase& c, std::ostream* os) {
    *os << c.name;
}

constexpr const char* kAirCut = "G43 H1 Z6.\nM3 S1000\nG1 Z1. F100.\nG1 X10.\nG0 Z6.\n";

// Without a start point the tool stands at the reference Z above the first X
// and Y the program sets: no length or depth comes from a guessed position.
const StartCase kStarts[] = {
    {"FirstXYRapidHasNoLength", "G0 X100. Y-50.5\nG43 H1 Z30.\n", std::nullopt, 70, 30},
    {"GivenStartIsWhereTheToolIs", "G0 X100. Y-50.5\nG43 H1 Z30.\n", Point3{100, 0, 30}, 50.5, 30},
    {"XAndYSettleOneByOne", "G0 X10.\nG43 H1 Z20.\nG0 Y5.\nG0 X20. Y10.\n", std::nullopt,
     80 + std::hypot(10, 5), 20},
    {"ReferenceReturnAloneSettlesNothing", "G91 G28 Z0\nG90 G0 X5. Y5.\nG43 H1 Z10.\n",
     std::nullopt, 90, 10},
    {"CuttingInTheAirIsNotDeepestZ0", kAirCut, std::nullopt, 94 + 5, 1},
    {"StartBelowTheWorkIsNotAMove", kAirCut, Point3{0, 0, -10}, 16 + 5, 1},
};

class Start : public testing::TestWithParam<StartCase> {};

TEST_P(Start, FiguresCountOnlyWhatTheProgramMoves) {
    const StartCase& c = GetParam();
    CheckOptions options;
    options.start = c.start;
    const CheckResult r = checkProgram(c.program, options);
    EXPECT_FALSE(r.hasError());
    EXPECT_NEAR(r.summary.rapidLength, c.rapidLength, 1e-9);
    ASSERT_TRUE(r.summary.deepestZ.has_value());
    EXPECT_NEAR(*r.summary.deepestZ, c.deepestZ, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Points, Start, testing::ValuesIn(kStarts),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Motion, MovesBeforeXAndYAreSetAreDrawnWhereTheyLaterAre) {
    const CheckResult r = checkProgram("G43 H1 Z50.\nG0 Z20.\nG0 X7. Y8.\nG1 Z-1. F100.\n");
    ASSERT_EQ(r.segments.size(), 3u);
    for (const Segment& s : r.segments) {
        EXPECT_DOUBLE_EQ(s.start.x, 7.0);
        EXPECT_DOUBLE_EQ(s.end.y, 8.0);
    }
    EXPECT_DOUBLE_EQ(r.segments[0].start.z, 100.0);
    EXPECT_DOUBLE_EQ(r.summary.feedExtents.min.x, 7.0);
}

TEST(Motion, SegmentsCarryCompensationProgramAndLine) {
    const CheckResult r =
        checkProgram("O100\nG0 X0 Y0\nM98 P7\nM30\nO7\nG41 G1 X5. D12 F100.\nG40 X0\nM99");
    ASSERT_EQ(r.segments.size(), 2u);
    EXPECT_EQ(r.segments[0].compensation, Compensation::Left);
    EXPECT_EQ(r.segments[0].compensationRegister, 12);
    EXPECT_EQ(r.segments[0].program, 7);
    EXPECT_EQ(r.segments[0].line, 6);
    EXPECT_EQ(r.segments[1].compensation, Compensation::Off);
}

TEST(Motion, ARunIntoAUsedResultStartsAfresh) {
    std::string expanded;
    CheckOptions options;
    options.expandTo = [&expanded](std::string_view piece) { expanded.append(piece); };
    CheckResult reused;
    run(compileText("T1 M6\nG52 X5.\nG0 X1.\nG1 X2,5\n"), options, reused);
    ASSERT_TRUE(reused.hasError());
    constexpr const char* kClean = "G43 H1 Z5.\nG0 X1.\nG0 X3.\nM30\n";
    expanded.clear();
    run(compileText(kClean), options, reused);
    const std::string expandedReused = expanded;
    expanded.clear();
    const CheckResult fresh = checkProgram(kClean, options);
    EXPECT_TRUE(fresh.diagnostics.empty());
    EXPECT_TRUE(reused.diagnostics.empty());
    ASSERT_EQ(reused.segments.size(), 2u);
    EXPECT_DOUBLE_EQ(reused.segments[1].end.x, 3.0);
    EXPECT_TRUE(reused.summary.toolsUsed.empty());
    EXPECT_TRUE(reused.summary.localOrigins.empty());
    EXPECT_EQ(reused.summary.blocksExecuted, 4);
    EXPECT_TRUE(reused.summary.ended);
    EXPECT_EQ(expandedReused, expanded);
}

}  // namespace
}  // namespace tesmara::check
