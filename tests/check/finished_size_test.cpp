// The ten operations' typical programs run with a tool table: the diameters
// the tool leaves are the ones the operation's fields ask for, and a tool too
// large for a compensated hole is refused before the machine finds out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "check/check.hpp"
#include "generated.hpp"

namespace tesmara::check {
namespace {

constexpr double kTol = 1e-3;

struct Cut {
    double x, y, inner, outer;
    double finished;  // 0: not compensated
};

struct SizeCase {
    const char* operation;
    const char* tools;
    std::vector<Cut> cuts;
};

void PrintTo(const SizeCase& c, std::ostream* os) {
    *os << c.operation;
}

CheckResult checkTypical(const std::string& operation, const char* tools) {
    const std::string program =
        generated(goldenArgs(std::string(TESMARA_GOLDEN_DIR) + "/" + operation + "/typical.args"));
    CheckOptions options;
    options.tools = parseToolTable(tools).table;
    return checkProgram(program, options);
}

const SizeCase kSizes[] = {
    // circleDiameter=20 with a Ø10 tool: the centre circles at radius 5.
    {"circle-hole", "tool,diameter\n3,10\n", {{100, -50.5, 0, 20, 20}}},
    // mouthDiameter=30 at the top, the taper below it.
    {"angled-hole", "tool,diameter\n3,10\n", {{100, -50.5, 6.536, 30, 30}}},
    {"multi-hole", "tool,diameter\n3,10\n", {{100, -50.5, 0, 20, 20}, {160, -50.5, 0, 12.5, 12.5}}},
    {"multi-angled", "tool,diameter\n5,6\n", {{100, -50.5, 2.226, 20, 20}, {40, 25.75, 0, 16, 16}}},
    // The groove programs offset by their own tool diameter field.
    {"ring-groove", "tool,diameter\n3,10\n", {{100, -50.5, 40, 60, 0}}},
    {"multi-ring-groove",
     "tool,diameter\n3,10\n",
     {{100, -50.5, 40, 80, 0}, {-120.25, 35, 32, 68, 0}}},
    // threadMajorDiameter=20 with toolRadius=6.
    {"thread", "tool,diameter\n3,12\n", {{100, -50.5, 0, 20, 0}}},
    {"multi-thread", "tool,diameter\n5,6\n", {{100, -50.5, 0, 10, 0}, {160, -50.5, 0, 12, 0}}},
    {"face", "tool,diameter\n3,50\n", {}},
    {"long-face", "tool,diameter\n2,50\n", {}},
};

class FinishedSize : public testing::TestWithParam<SizeCase> {};

TEST_P(FinishedSize, IsWhatTheFieldsAskFor) {
    const CheckResult r = checkTypical(GetParam().operation, GetParam().tools);
    EXPECT_FALSE(r.hasError());
    EXPECT_TRUE(r.summary.registersWithoutRadius.empty());
    const std::vector<Cut>& want = GetParam().cuts;
    ASSERT_EQ(r.summary.circles.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        const CircleCut& got = r.summary.circles[i];
        EXPECT_NEAR(got.x, want[i].x, kTol) << i;
        EXPECT_NEAR(got.y, want[i].y, kTol) << i;
        EXPECT_NEAR(got.innerDiameter, want[i].inner, kTol) << i;
        EXPECT_NEAR(got.outerDiameter, want[i].outer, kTol) << i;
        EXPECT_NEAR(got.finishedDiameter().value_or(0.0), want[i].finished, kTol) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Operations, FinishedSize, testing::ValuesIn(kSizes), [](const auto& info) {
    std::string name = info.param.operation;
    std::erase(name, '-');
    return name;
});

TEST(FinishedSize, ToolTooLargeForACompensatedHoleIsAnError) {
    const struct {
        const char* operation;
        const char* tools;
    } cases[] = {
        {"circle-hole", "tool,diameter\n3,20\n"},
        {"angled-hole", "tool,diameter\n3,27\n"},  // larger than the taper's smallest circle
        {"multi-hole", "tool,diameter\n3,13\n"},   // the second hole is 12.5
        {"multi-angled", "tool,diameter\n5,10\n"},
    };
    for (const auto& c : cases) {
        const CheckResult r = checkTypical(c.operation, c.tools);
        ASSERT_TRUE(r.hasError()) << c.operation;
        EXPECT_EQ(r.diagnostics.back().code, Code::ToolTooLarge) << c.operation;
    }
}

TEST(FinishedSize, AToolOtherThanTheFieldsSayShowsInTheSweptDiameters) {
    // The groove program offsets by its own field, 10; a Ø12 tool cuts 1 mm wider each side.
    const CheckResult r = checkTypical("ring-groove", "tool,diameter\n3,12\n");
    ASSERT_EQ(r.summary.circles.size(), 1u);
    EXPECT_NEAR(r.summary.circles[0].innerDiameter, 38.0, kTol);
    EXPECT_NEAR(r.summary.circles[0].outerDiameter, 62.0, kTol);
}

}  // namespace
}  // namespace tesmara::check
