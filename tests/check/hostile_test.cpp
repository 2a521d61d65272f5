// Inputs no operation writes: values that overflow, numbers too long for a
// short format, bytes that are not UTF-8, expressions too long to run forever.
// The check stops with a clear error and every figure and report stays valid.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <regex>
#include <string>

#include "check/check.hpp"
#include "check/format.hpp"
#include "check/report.hpp"
#include "cli/cli_run.hpp"

namespace tesmara::check {
namespace {

// 9 × 10^307, near the largest double: twice it is infinite.
const std::string kHuge = "9" + std::string(307, '0') + ".";

struct OverflowCase {
    const char* name;
    std::string program;
    int line;
};

void PrintTo(const OverflowCase& c, std::ostream* os) {
    *os << c.name;
}

const OverflowCase kOverflows[] = {
    {"ProductOfVariables",
     "#1=10000000000\n#2=#1*#1*#1*#1*#1*#1*#1*#1*#1*#1*#1*#1*#1*#1*#1*#1*#1*#1*#1*#1*#1*#1*#1*#1*#"
     "1*#1*#1*#1*#1*#1*#1*#1*#1\n",
     2},
    {"DifferenceOfInfinities", "#1=" + kHuge + "\n#2=[#1+#1]-[#1+#1]\n", 2},
    {"PositionPastTheLargestNumber", "#1=" + kHuge + "\nG0 X#1\nG91 G0 X#1\n", 3},
    {"TimeAtAVanishingFeed",
     "#1=1" + std::string(307, '0') + "\nM3 S1000\nG0 X0 Y0\nG1 X1000. F[1/#1]\n", 4},
    {"AddressFromAHugeRound", "#1=" + kHuge + "\nG0 X[ROUND[#1]]\n", 2},
};

bool finite(const Point3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

class Overflow : public testing::TestWithParam<OverflowCase> {};

TEST_P(Overflow, IsAnErrorAtTheLineThatMadeItAndNoFigureIsInfinite) {
    const OverflowCase& c = GetParam();
    CheckOptions options;
    std::string expanded;
    options.expandTo = [&expanded](std::string_view piece) { expanded.append(piece); };
    const CheckResult r = checkProgram(c.program, options);
    ASSERT_EQ(r.diagnostics.size(), 1u);
    EXPECT_EQ(r.diagnostics[0].code, Code::OutOfRange);
    EXPECT_EQ(r.diagnostics[0].line, c.line) << r.diagnostics[0].message;
    const Summary& s = r.summary;
    EXPECT_TRUE(std::isfinite(s.feedLength + s.rapidLength + s.cycleSeconds));
    for (const Segment& seg : r.segments) {
        EXPECT_TRUE(finite(seg.start) && finite(seg.end));
    }
    for (const double v : r.variables) {
        EXPECT_FALSE(std::isinf(v));
    }
    EXPECT_EQ(expanded.find("inf"), std::string::npos);
    EXPECT_EQ(expanded.find("nan"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Values, Overflow, testing::ValuesIn(kOverflows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Hostile, LargeFiniteNumbersAreWrittenWithAllTheirDigits) {
    EXPECT_EQ(formatNumber(1e20), "100000000000000000000.");
    EXPECT_EQ(formatNumber(-0.00001), "0.");
    EXPECT_EQ(formatNumber(1.23456), "1.2346");
    EXPECT_EQ(formatNumber(1e70).size(), 72u) << formatNumber(1e70);
    CheckOptions options;
    std::string expanded;
    options.expandTo = [&expanded](std::string_view piece) { expanded.append(piece); };
    const CheckResult r =
        checkProgram("G0 X1" + std::string(70, '0') + ". Y0 Z5.\nG0 Z50.\n", options);
    EXPECT_TRUE(std::regex_search(expanded, std::regex("\nG0 X[0-9]{71}\\. Y0\\. Z5\\.\r\n")))
        << expanded;
    EXPECT_EQ(durationText(59.4), "59 s");
    EXPECT_EQ(durationText(3600 * 24 + 61), "1441 min 1 s");
    EXPECT_EQ(durationText(6e20), "10000000000000000000 min 0 s");
}

// A long expression in an endless loop: the expression's work counts towards
// the limit, so the run stops after far fewer blocks than the limit.
TEST(Hostile, ExpressionWorkCountsTowardsTheBlockLimit) {
    std::string sum = "1";
    while (sum.size() < 20'000) {
        sum += "+#2";
    }
    const CheckResult r = checkProgram("N1 #1=" + sum + "\nGOTO1\n");
    ASSERT_EQ(r.diagnostics.size(), 1u);
    EXPECT_EQ(r.diagnostics[0].code, Code::BlockLimit);
    EXPECT_TRUE(r.summary.endless);
    EXPECT_LT(r.summary.blocksExecuted, CheckOptions{}.blockLimit / 100);
}

// Whatever the program, the report is JSON a parser takes, with null for the
// cycle time of a program that does not end.
TEST(Hostile, JsonReportIsAlwaysValid) {
    const std::string programs[] = {
        "#1=" + kHuge + "\n#2=#1*#1\n",
        "#3000=1(\xff\xfe BAD \xe4\xb8 BYTES \"\\)\n",
        "G0 X1" + std::string(70, '0') + ".\n",
        "N1 GOTO1\n",
        "G1 X1.\x01\n",
    };
    const std::string path = testing::TempDir() + "hostile.nc";
    for (const std::string& program : programs) {
        FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(program.data(), 1, program.size(), f);
        std::fclose(f);
        const CliRun run = runCli({"check", path, "--json", "--block-limit", "1000"});
        QJsonParseError error;
        const QJsonDocument doc =
            QJsonDocument::fromJson(QByteArray::fromStdString(run.out), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError)
            << error.errorString().toStdString() << " in " << run.out;
        if (program == "N1 GOTO1\n") {
            EXPECT_TRUE(doc["summary"]["cycleSeconds"].isNull()) << run.out;
        }
    }
    std::remove(path.c_str());
}

}  // namespace
}  // namespace tesmara::check
