// The toolpath of each operation's program with typical values, against what
// the program is meant to do on the machine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "check/check.hpp"
#include "generated.hpp"

namespace tesmara::check {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTol = 1e-6;

// `expected`: the one warning the program is known to deserve, if any.
CheckResult checkClean(const std::vector<std::string>& args,
                       std::optional<Code> expected = std::nullopt) {
    const std::string program = generated(args);
    CheckResult r = checkProgram(program);
    for (const Diagnostic& d : r.diagnostics) {
        if (d.code != expected) {
            ADD_FAILURE() << "line " << d.line << ": " << d.message;
        }
    }
    EXPECT_TRUE(r.summary.ended);
    return r;
}

bool isFullCircle(const Segment& s) {
    return s.shape == Shape::Arc && std::fabs(std::fabs(s.sweep) - 2 * kPi) < 1e-9;
}

struct Circle {
    double x, y, radius, z;
};

// Flat full circles, the cutting passes of the hole and groove programs.
std::vector<Circle> flatCircles(const CheckResult& r) {
    std::vector<Circle> out;
    for (const Segment& s : r.segments) {
        if (isFullCircle(s) && std::fabs(s.end.z - s.start.z) < kTol) {
            out.push_back({s.centreX, s.centreY, s.radius, s.end.z});
        }
    }
    return out;
}

void expectCircles(const std::vector<Circle>& got, const std::vector<Circle>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_NEAR(got[i].x, want[i].x, kTol) << "circle " << i;
        EXPECT_NEAR(got[i].y, want[i].y, kTol) << "circle " << i;
        EXPECT_NEAR(got[i].radius, want[i].radius, kTol) << "circle " << i;
        EXPECT_NEAR(got[i].z, want[i].z, kTol) << "circle " << i;
    }
}

const std::vector<std::string> kHoleFields = {"toolNumber=3", "spindleSpeed=1200", "feedRate=300",
                                              "startDepth=1", "finalDepth=6",      "depthPerCut=2"};

std::vector<std::string> with(std::vector<std::string> args, const std::vector<std::string>& more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST(Operations, CircleHoleCutsOneCompensatedCirclePerDepthAroundTheCentre) {
    const CheckResult r =
        checkClean(with({"circle-hole", "--header", "--trailer"},
                        with(kHoleFields, {"coordX=100", "coordY=-50.5", "circleDiameter=20"})));
    expectCircles(
        flatCircles(r),
        {{100, -50.5, 10, -1}, {100, -50.5, 10, -3}, {100, -50.5, 10, -5}, {100, -50.5, 10, -6}});
    for (const Segment& s : r.segments) {
        if (isFullCircle(s)) {
            EXPECT_FALSE(s.clockwise);
            EXPECT_EQ(s.compensation, Compensation::Left);
            EXPECT_EQ(s.compensationRegister, 3);
            EXPECT_EQ(s.feed, 300.0);
        }
    }
    EXPECT_NEAR(*r.summary.deepestZ, -6.0, kTol);
}

TEST(Operations, FaceCutsFromX0ToX100AtEachDepth) {
    const CheckResult r = checkClean({"face", "toolNumber=3", "startDepth=1", "finalDepth=6",
                                      "depthPerCut=2", "spindleSpeed=800", "feedRate=500"});
    std::vector<double> passDepths;
    for (const Segment& s : r.segments) {
        if (s.kind == MoveKind::Feed && s.end.x - s.start.x > 1.0) {
            EXPECT_NEAR(s.start.x, 0.0, kTol);
            EXPECT_NEAR(s.end.x, 100.0, kTol);
            EXPECT_NEAR(s.end.y, 0.0, kTol);
            passDepths.push_back(s.end.z);
        }
    }
    EXPECT_EQ(passDepths, (std::vector<double>{-1, -3, -5, -6}));
}

TEST(Operations, LongFacePassesStepOverInAlternatingDirections) {
    const CheckResult r = checkClean({"long-face", "toolNumber=2", "startDepth=0.5", "finalDepth=2",
                                      "depthPerCut=0.5", "stepOver=40", "passCount=5",
                                      "workpieceLength=300", "spindleSpeed=600", "feedRate=800"});
    std::vector<std::pair<double, double>> passes;  // Y, signed length along X
    for (const Segment& s : r.segments) {
        if (s.kind == MoveKind::Feed && std::fabs(s.end.x - s.start.x) > 1.0) {
            passes.push_back({s.end.y, s.end.x - s.start.x});
        }
    }
    ASSERT_EQ(passes.size(), 4u * 5u) << "four layers of five passes";
    for (std::size_t i = 0; i < passes.size(); ++i) {
        const int n = static_cast<int>(i % 5);
        EXPECT_NEAR(passes[i].first, 40.0 * (n + 1), kTol) << "pass " << i;
        EXPECT_NEAR(passes[i].second, n % 2 == 0 ? 300.0 : -300.0, kTol) << "pass " << i;
    }
}

// The passes are counted by summing the step over: 7 × 4.1 summed in binary
// overshoots 28.7, so a control that compares exactly cuts one pass less.
TEST(Operations, LongFacePassCountRestsOnRoundingAndTheCheckSaysSo) {
    const std::string program = generated(
        {"long-face", "toolNumber=2", "startDepth=0.5", "finalDepth=1", "depthPerCut=0.5",
         "stepOver=4.1", "passCount=7", "workpieceLength=300", "spindleSpeed=600", "feedRate=800"});
    const auto passes = [](const CheckResult& r) {
        return std::count_if(r.segments.begin(), r.segments.end(), [](const Segment& s) {
            return s.kind == MoveKind::Feed && std::fabs(s.end.x - s.start.x) > 1.0;
        });
    };
    const CheckResult tolerant = checkProgram(program);
    EXPECT_EQ(passes(tolerant), 2 * 7) << "two layers";
    ASSERT_FALSE(tolerant.diagnostics.empty());
    EXPECT_EQ(tolerant.diagnostics[0].code, Code::FragileComparison);
    CheckOptions exact;
    exact.comparison = Comparison::Exact;
    EXPECT_EQ(passes(checkProgram(program, exact)), 2 * 6);
}

// Half circles of one radius, each rising half a pitch; the pass radii grow
// from the minor to the major radius less the tool radius.
void expectThreadClimb(const CheckResult& r, double cx, double cy, std::vector<double> radii,
                       double halfPitch, double bottom) {
    std::vector<double> seen;
    for (const Segment& s : r.segments) {
        const bool half = s.shape == Shape::Arc && std::fabs(std::fabs(s.sweep) - kPi) < 1e-6 &&
                          std::fabs(s.centreX - cx) < kTol && std::fabs(s.centreY - cy) < kTol;
        if (!half) {
            continue;
        }
        EXPECT_FALSE(s.clockwise);
        if (seen.empty() || std::fabs(seen.back() - s.radius) > kTol) {
            seen.push_back(s.radius);
            EXPECT_NEAR(s.start.z, bottom, kTol) << "each pass starts at the bottom";
        }
        EXPECT_NEAR(s.end.z - s.start.z, halfPitch, kTol);
    }
    ASSERT_EQ(seen.size(), radii.size());
    for (std::size_t i = 0; i < radii.size(); ++i) {
        EXPECT_NEAR(seen[i], radii[i], kTol);
    }
}

TEST(Operations, ThreadClimbsOnePitchPerTurnFromMinorToMajorRadius) {
    const CheckResult r = checkClean(
        {"thread", "coordX=100", "coordY=-50.5", "toolNumber=3", "spindleSpeed=1500",
         "feedRate=200", "finalDepth=20", "planeHeight=0", "threadMinorDiameter=17.294",
         "threadMajorDiameter=20", "threadDepthOfCut=0.5", "threadPitch=2.5", "toolRadius=6"});
    expectThreadClimb(r, 100, -50.5, {2.647, 3.147, 3.647, 4.0}, 1.25, -20);
}

TEST(Operations, RingGrooveDescendsInHelicesAndCutsFlatRings) {
    const CheckResult r = checkClean(
        {"ring-groove", "coordX=100", "coordY=-50.5", "toolNumber=3", "spindleSpeed=1500",
         "feedRate=400", "startDepth=1", "finalDepth=6", "depthPerCut=2", "toolDiameter=10",
         "grooveInnerDiameter=40", "grooveOuterDiameter=70", "radialStep=4"});
    std::vector<Circle> want;
    for (const double radius : {25.0, 29.0, 30.0}) {
        for (const double z : {-3.0, -5.0, -6.0}) {
            want.push_back({100, -50.5, radius, z});
        }
    }
    expectCircles(flatCircles(r), want);
    int helices = 0;
    for (const Segment& s : r.segments) {
        helices += isFullCircle(s) && s.end.z < s.start.z - kTol;
    }
    EXPECT_EQ(helices, 9);
}

TEST(Operations, AngledHoleShrinksTheCircleByTheTaperPerDepth) {
    const CheckResult r = checkClean(with({"angled-hole", "coordX=100", "coordY=-50.5"},
                                          with(kHoleFields, {"mouthDiameter=30", "angle=60"})));
    const double step = 1.0 / std::tan(60.0 * kPi / 180.0);
    expectCircles(flatCircles(r), {{100, -50.5, 15, -1},
                                   {100, -50.5, 15 - step, -3},
                                   {100, -50.5, 15 - 2 * step, -5},
                                   {100, -50.5, 15 - 3 * step, -6}});
}

TEST(Operations, MultiHoleMillsEachHoleThroughItsSubprogram) {
    const CheckResult r = checkClean(
        with({"multi-hole", "--file", "subprogramNumber=8000"},
             with(kHoleFields, {"coordX=100", "coordY=-50.5", "holeDiameter=20", "next-hole",
                                "coordX=160", "holeDiameter=12.5", "next-hole"})));
    std::vector<Circle> want;
    for (const Circle& hole : {Circle{100, -50.5, 10, 0}, Circle{160, -50.5, 6.25, 0}}) {
        for (const double z : {-1.0, -3.0, -5.0, -6.0}) {
            want.push_back({hole.x, hole.y, hole.radius, z});
        }
    }
    expectCircles(flatCircles(r), want);
    EXPECT_EQ(r.segments[10].program, 8000);
    ASSERT_EQ(r.summary.localOrigins.size(), 2u) << "the hole centres";
    EXPECT_DOUBLE_EQ(r.summary.localOrigins[0].x, 100.0);
    EXPECT_DOUBLE_EQ(r.summary.localOrigins[0].y, -50.5);
    EXPECT_DOUBLE_EQ(r.summary.localOrigins[1].x, 160.0);
}

// 1.25 + 3 × 0.3 − 0.3 is not exactly 2 in binary: the last pass is found
// only by comparing with a tolerance, which the check points out.
TEST(Operations, MultiThreadClimbsInEveryHole) {
    const CheckResult r = checkClean(
        {"multi-thread", "--file", "toolNumber=5", "spindleSpeed=2500", "feedRate=400",
         "subprogramNumber=8100", "coordX=100", "coordY=-50.5", "finalDepth=15", "planeHeight=0",
         "threadMinorDiameter=8.5", "threadMajorDiameter=10", "threadDepthOfCut=0.3",
         "threadPitch=1.5", "toolRadius=3", "next-hole", "coordX=130", "next-hole"},
        Code::FragileComparison);
    ASSERT_EQ(r.diagnostics.size(), 1u);
    for (const double x : {100.0, 130.0}) {
        expectThreadClimb(r, x, -50.5, {1.25, 1.55, 1.85, 2.0}, 0.75, -15);
    }
}

TEST(Operations, MultiRingGrooveCutsTheRingsOfEveryGroove) {
    const CheckResult r = checkClean(
        {"multi-ring-groove", "--file", "toolNumber=3", "spindleSpeed=2500", "feedRate=400",
         "subprogramNumber=2001", "coordX=100", "coordY=-50.5", "startDepth=1", "finalDepth=6",
         "depthPerCut=2", "toolDiameter=10", "grooveInnerDiameter=40", "grooveOuterDiameter=80",
         "radialStep=8", "next-hole", "coordX=-120.25", "coordY=35", "next-hole"});
    std::vector<Circle> want;
    for (const double x : {100.0, -120.25}) {
        const double y = x > 0 ? -50.5 : 35.0;
        for (const double radius : {25.0, 33.0, 35.0}) {
            for (const double z : {-3.0, -5.0, -6.0}) {
                want.push_back({x, y, radius, z});
            }
        }
    }
    expectCircles(flatCircles(r), want);
}

TEST(Operations, MultiAngledShrinksEveryCircleAndCompensatesWithTheToolNumber) {
    const CheckResult r =
        checkClean({"multi-angled", "--file", "toolNumber=5", "spindleSpeed=3000", "feedRate=200",
                    "subprogramNumber=4001", "coordX=100", "coordY=-50.5", "startDepth=1",
                    "finalDepth=6", "depthPerCut=1", "mouthDiameter=20", "angle=60", "next-hole"});
    const double step = 1.0 / std::tan(60.0 * kPi / 180.0);
    std::vector<Circle> want;
    for (int i = 0; i < 6; ++i) {
        want.push_back({100, -50.5, 10 - i * step, -1.0 - i});
    }
    expectCircles(flatCircles(r), want);
    for (const Segment& s : r.segments) {
        if (isFullCircle(s)) {
            EXPECT_EQ(s.compensation, Compensation::Left);
            EXPECT_EQ(s.compensationRegister, 5) << "line " << s.line;
        }
    }
}

struct MistakeCase {
    const char* name;
    std::vector<std::string> args;
    Code code;
    const char* mentions;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const MistakeCase& c, std::ostream* os) {
    *os << c.name;
}

class OperatorMistake : public testing::TestWithParam<MistakeCase> {};

TEST_P(OperatorMistake, GivesAClearDiagnostic) {
    const CheckResult r = checkProgram(generated(GetParam().args));
    const auto it = std::find_if(r.diagnostics.begin(), r.diagnostics.end(),
                                 [&](const Diagnostic& d) { return d.code == GetParam().code; });
    ASSERT_NE(it, r.diagnostics.end()) << codeId(GetParam().code);
    EXPECT_NE(it->message.find(GetParam().mentions), std::string::npos) << it->message;
    EXPECT_TRUE(r.hasError());
}

const std::vector<std::string> kCircle = with(kHoleFields, {"coordX=10", "coordY=20"});

INSTANTIATE_TEST_SUITE_P(
    Fields, OperatorMistake,
    testing::Values(
        MistakeCase{"ZeroDepthPerCut",
                    with(with({"circle-hole"}, kCircle), {"depthPerCut=0", "circleDiameter=20"}),
                    Code::BlockLimit, "does not end"},
        MistakeCase{"EmptyDiameter", with({"circle-hole"}, kCircle), Code::Syntax, "empty"},
        MistakeCase{"DecimalComma", with({"circle-hole", "circleDiameter=12,5"}, kCircle),
                    Code::DecimalComma, "12.5"},
        MistakeCase{"GrooveNarrowerThanTheTool",
                    with({"ring-groove", "toolDiameter=12", "grooveInnerDiameter=40",
                          "grooveOuterDiameter=60", "radialStep=4"},
                         kCircle),
                    Code::Alarm, "DAO JU TAI XIAO"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tesmara::check
