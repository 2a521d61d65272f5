// Expanding a program to plain G-code keeps its toolpath.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "check/check.hpp"
#include "generated.hpp"

namespace tesmara::check {
namespace {

namespace fs = std::filesystem;

constexpr double kTol = 1e-3;  // the expanded numbers have four decimals

void expectNear(const Point3& a, const Point3& b, const std::string& what) {
    EXPECT_NEAR(a.x, b.x, kTol) << what;
    EXPECT_NEAR(a.y, b.y, kTol) << what;
    EXPECT_NEAR(a.z, b.z, kTol) << what;
}

void expectSameToolpath(const CheckResult& a, const CheckResult& b) {
    ASSERT_EQ(a.segments.size(), b.segments.size());
    for (std::size_t i = 0; i < a.segments.size(); ++i) {
        const Segment& s = a.segments[i];
        const Segment& t = b.segments[i];
        const std::string where =
            "segment " + std::to_string(i) + " from line " + std::to_string(s.line);
        EXPECT_EQ(s.kind, t.kind) << where;
        EXPECT_EQ(s.shape, t.shape) << where;
        EXPECT_EQ(s.compensation, t.compensation) << where;
        EXPECT_EQ(s.compensationRegister, t.compensationRegister) << where;
        EXPECT_EQ(s.tool, t.tool) << where;
        EXPECT_EQ(s.spindle, t.spindle) << where;
        expectNear(s.start, t.start, where);
        expectNear(s.end, t.end, where);
        if (s.shape == Shape::Arc) {
            EXPECT_NEAR(s.centreX, t.centreX, kTol) << where;
            EXPECT_NEAR(s.centreY, t.centreY, kTol) << where;
            EXPECT_NEAR(s.sweep, t.sweep, kTol) << where;
        }
        if (s.kind == MoveKind::Feed) {
            EXPECT_EQ(s.feed, t.feed) << where;
        }
    }
}

// Options that collect the expanded program in `text`, piece by piece.
CheckOptions expandingInto(std::string& text, std::size_t segmentLimit = 200'000) {
    CheckOptions options;
    options.segmentLimit = segmentLimit;
    options.expandTo = [&text](std::string_view piece) { text.append(piece); };
    return options;
}

void expectSameSummary(const Summary& a, const Summary& b) {
    EXPECT_EQ(a.blocksExecuted, b.blocksExecuted);
    EXPECT_EQ(a.moves, b.moves);
    EXPECT_NEAR(a.feedLength, b.feedLength, kTol);
    EXPECT_NEAR(a.rapidLength, b.rapidLength, kTol);
    EXPECT_NEAR(a.cycleSeconds, b.cycleSeconds, kTol);
    ASSERT_EQ(a.feedExtents.valid, b.feedExtents.valid);
    expectNear(a.feedExtents.min, b.feedExtents.min, "feed extents");
    expectNear(a.feedExtents.max, b.feedExtents.max, "feed extents");
    ASSERT_EQ(a.deepestZ.has_value(), b.deepestZ.has_value());
    EXPECT_NEAR(a.deepestZ.value_or(0), b.deepestZ.value_or(0), kTol);
    EXPECT_EQ(a.toolsUsed, b.toolsUsed);
    EXPECT_EQ(a.ended, b.ended);
}

// Far more moves than a preview keeps: a helix down in 300 turns, then away
// at depth so that the end is not safe.
constexpr const char* kManyMoves =
    "T1 M6\nG43 H1 G0 Z5.\nM3 S1000\nG0 X10. Y0\n#1=0\n"
    "WHILE[#1LT300]DO1\nG3 X10. Y0 I-10. J0 Z-[#1*0.1] F300.\nG1 Z-[#1*0.1+0.05]\n"
    "#1=#1+1\nEND1\nG0 X50.\nM30\n";

// The moves kept for drawing stop at the limit; every figure of the summary,
// the warning about the last move and the expanded program still cover the run.
TEST(SegmentLimit, KeepsTheSummaryExactAndExpandsEveryMove) {
    std::string whole;
    const CheckResult all = checkProgram(kManyMoves, expandingInto(whole));
    // The first X and Y are where the tool starts: the positioning has no length.
    ASSERT_EQ(all.summary.moves, 1 + 2 * 300 + 1);
    ASSERT_EQ(all.segments.size(), static_cast<std::size_t>(all.summary.moves));
    for (const std::size_t limit : {std::size_t{0}, std::size_t{1}, std::size_t{57}}) {
        SCOPED_TRACE(limit);
        std::string plain;
        const CheckResult capped = checkProgram(kManyMoves, expandingInto(plain, limit));
        ASSERT_EQ(capped.segments.size(), limit);
        expectSameSummary(capped.summary, all.summary);
        ASSERT_EQ(capped.diagnostics.size(), all.diagnostics.size());
        for (std::size_t i = 0; i < all.diagnostics.size(); ++i) {
            EXPECT_EQ(capped.diagnostics[i].code, all.diagnostics[i].code);
            EXPECT_EQ(capped.diagnostics[i].line, all.diagnostics[i].line);
        }
        EXPECT_EQ(plain, whole);
        const CheckResult again = checkProgram(plain);
        EXPECT_EQ(again.summary.moves, all.summary.moves);
        EXPECT_NEAR(again.summary.cycleSeconds, all.summary.cycleSeconds, kTol);
    }
    EXPECT_EQ(all.diagnostics.back().code, Code::NotSafeAtEnd);
    EXPECT_EQ(all.diagnostics.back().line, 11);
}

class Expand : public testing::TestWithParam<std::string> {};

TEST_P(Expand, CheckingTheExpandedProgramGivesTheSameToolpath) {
    const std::string program =
        generated(goldenArgs(fs::path(TESMARA_GOLDEN_DIR) / GetParam() / "typical.args"));
    std::string plain;
    const CheckResult original = checkProgram(program, expandingInto(plain));
    ASSERT_FALSE(original.hasError()) << original.diagnostics.front().message;
    EXPECT_EQ(plain.find('#'), std::string::npos) << "no macro left";
    EXPECT_EQ(plain.find("G52"), std::string::npos);
    EXPECT_EQ(plain.find("G16"), std::string::npos);
    EXPECT_EQ(plain.find("M98"), std::string::npos);
    EXPECT_TRUE(plain.starts_with("%\r\nO100\r\n"));
    EXPECT_TRUE(plain.ends_with("M30\r\n%"));
    const std::regex withoutPoint("[XYZIJF]-?[0-9]+(\\s|$)");
    EXPECT_FALSE(std::regex_search(plain, withoutPoint)) << "every value has a decimal point";

    const CheckResult again = checkProgram(plain);
    EXPECT_TRUE(again.diagnostics.empty()) << again.diagnostics.front().message;
    expectSameToolpath(original, again);
    EXPECT_NEAR(original.summary.cycleSeconds, again.summary.cycleSeconds, 1e-3);
}

struct ExpandCase {
    const char* name;
    const char* program;
    const char* lines;  // the expanded body between the header and M30
};

void PrintTo(const ExpandCase& c, std::ostream* os) {
    *os << c.name;
}

// Each block carries only the axes it commands, so no start point makes the
// output move where the original does not.
const ExpandCase kBlocks[] = {
    {"FirstMoveKeepsItsAxes", "G52 X100. Y-50.5\nG0 G90 X0 Y0\nG43 H3 Z30.\n",
     "G0 X100. Y-50.5\nG43 H3\nG0 Z30.\n"},
    {"IncrementalAndPolarAreFolded",
     "G0 X5. Y5. Z5.\nG91 G1 X1. F100.\nG90 G16 G1 X10. Y90.\nG15\n",
     "G0 X5. Y5. Z5.\nG1 X6. F100.\nG1 X0. Y10.\n"},
    {"IncrementalReferenceReturnStaysOne", "G91 G28 Z0\nG28 Y0\nG90 G0 X1.\n",
     "G91 G28 Z0.\nG90\nG91 G28 Y0.\nG90\nG0 X1.\n"},
    {"AbsoluteIntermediatePointWithTheShiftFolded", "G52 X10. Z5.\nG90 G28 X2. Z50.\n",
     "G28 X12. Z55.\n"},
    {"FullCircleWithoutAxesGetsItsEndPoint", "G0 X5. Y0 Z1.\nG3 I-5. F200.\n",
     "G0 X5. Y0. Z1.\nG3 X5. Y0. I-5. J0. F200.\n"},
};

class ExpandBlock : public testing::TestWithParam<ExpandCase> {};

TEST_P(ExpandBlock, WritesOnlyTheCommandedAxes) {
    CheckOptions options;
    std::string expanded;
    options.expandTo = [&expanded](std::string_view piece) { expanded.append(piece); };
    const CheckResult r = checkProgram(GetParam().program, options);
    ASSERT_FALSE(r.hasError()) << r.diagnostics.front().message;
    std::string want = GetParam().lines;
    std::string crlf;
    for (const char c : want) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    EXPECT_EQ(expanded, "%\r\nO100\r\nG90 G17 G94\r\n" + crlf + "M30\r\n%");
}

INSTANTIATE_TEST_SUITE_P(Blocks, ExpandBlock, testing::ValuesIn(kBlocks),
                         [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(Operations, Expand, testing::ValuesIn(typicalCases()),
                         [](const auto& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
}  // namespace tesmara::check
