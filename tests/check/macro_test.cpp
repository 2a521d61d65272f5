// Macro semantics as small programs and the variable values they leave.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "check/check.hpp"

namespace tesmara::check {
namespace {

constexpr double kVacant = NAN;

struct Expect {
    int variable;
    double value;  // kVacant: the variable must be vacant
};

struct MacroCase {
    const char* name;
    const char* program;
    std::vector<Expect> expect;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const MacroCase& c, std::ostream* os) {
    *os << c.name;
}

const MacroCase kCases[] = {
    {"VacantStaysVacantOnlyWhenCopiedBare",
     "#1=#0\n#2=#0+1\n#3=#0*5\n#4=[#0]\n#5=-#0",
     {{1, kVacant}, {2, 1}, {3, 0}, {4, kVacant}, {5, 0}}},
    {"EqAndNeTellVacantFromZero",
     "IF[#10EQ0] THEN #1=1\nIF[#10EQ#0] THEN #2=1\nIF[#10NE0] THEN #3=1\n#11=0\nIF[#11EQ#0] THEN "
     "#4=1",
     {{1, kVacant}, {2, 1}, {3, 1}, {4, kVacant}}},
    {"OrderingTreatsVacantAsZero",
     "IF[#10LT1] THEN #1=1\nIF[#10GE0] THEN #2=1\nIF[#10LE0] THEN #3=1\nIF[#10GT-1] THEN #4=1",
     {{1, 1}, {2, 1}, {3, 1}, {4, 1}}},
    {"Precedence",
     "#1=2+3*4\n#2=[2+3]*4\n#3=-2*3\n#4=10-4-3\n#5=12/2/3\n#6=180\n#8=[#6-60]/2\n#9=2*-3",
     {{1, 14}, {2, 20}, {3, -6}, {4, 3}, {5, 2}, {8, 60}, {9, -6}}},
    {"FunctionsWorkInDegrees",
     "#1=SIN[30]\n#2=COS[60]\n#3=TAN[45]\n#4=ATAN[1]\n#5=ATAN[1]/[-1]\n#6=SQRT[16]\n"
     "#7=ABS[-3]\n#8=ROUND[2.5]\n#9=FIX[-1.7]\n#10=FUP[1.2]\n#11=FUP[-1.2]\n#12=ATAN[-1]/[0]",
     {{1, 0.5},
      {2, 0.5},
      {3, 1},
      {4, 45},
      {5, 135},
      {6, 4},
      {7, 3},
      {8, 3},
      {9, -1},
      {10, 2},
      {11, -2},
      {12, 270}}},
    {"NumbersWithAndWithoutPoint",
     "#1=.5\n#2=5.\n#3=007\n#4=-.25",
     {{1, 0.5}, {2, 5}, {3, 7}, {4, -0.25}}},
    {"AndOr",
     "IF[[1EQ1]AND[2EQ3]] THEN #1=1\nIF[[1EQ1]OR[2EQ3]] THEN #2=1\nIF[[1EQ1]XOR[2EQ2]] THEN #3=1",
     {{1, kVacant}, {2, 1}, {3, kVacant}}},
    {"LogicalOperationsAreBitwiseOnValues",
     "#1=6 AND 3\n#2=1 OR 2\n#3=5 XOR 3\n#4=12 AND 10 OR 1\n#5=-1 AND 7",
     {{1, 2}, {2, 3}, {3, 6}, {4, 9}, {5, 7}}},
    {"DoWithoutWhileLoopsUntilAGotoLeaves",
     "#1=0\nDO1\n#1=#1+1\nIF[#1GE4] GOTO9\nEND1\nN9 #2=#1",
     {{1, 4}, {2, 4}}},
    {"RoundOutsideAnAddressIsToWholeNumbers",
     "#1=1.23456\n#2=ROUND[#1]\n#3=ROUND[-2.5]",
     {{2, 1}, {3, -3}}},
    {"GotoSkipsAndLabelsMayStandAlone", "#1=1\nGOTO10\n#1=2\nN10\n#2=3", {{1, 1}, {2, 3}}},
    {"GotoByVariable", "#9=20\nGOTO#9\n#1=1\nN20 #2=2", {{1, kVacant}, {2, 2}}},
    {"IfGotoLoop", "#1=0\nN5 #1=#1+1\nIF[#1LT5] GOTO5", {{1, 5}}},
    {"IndirectVariable", "#3=9\n#1=3\n#2=#[#1]\n#4=#[#1-2]", {{2, 9}, {4, 3}}},
    {"WhileNestsThreeDeep",
     "#1=0\n#2=0\nWHILE[#2LT3] DO1\n#3=0\nWHILE[#3LT2] DO2\n#4=0\nWHILE[#4LT2] DO3\n#1=#1+1\n"
     "#4=#4+1\nEND3\n#3=#3+1\nEND2\n#2=#2+1\nEND1\nWHILE[#2LT3] DO1\nEND1",
     {{1, 12}}},
    {"M98RepeatsWithLAndSharesLocals", "#1=0\nM98 P10 L3\nM30\nO10\n#1=#1+1\nM99", {{1, 3}}},
    {"M99ReturnsToTheBlockAfterTheCall",
     "#1=0\nM98 P20\n#2=#1*10\nM30\nO20\n#1=5\nM99\n#1=7",
     {{1, 5}, {2, 50}}},
    {"M99PReturnsToALabelOfTheCaller",
     "M98 P30\n#1=1\nN50 #2=2\nM30\nO30\nM99 P50",
     {{1, kVacant}, {2, 2}}},
    {"NestedCallsUnwindInOrder",
     "M98 P1\n#3=#1+#2\nM30\nO1\nM98 P2\n#1=10\nM99\nO2\n#2=1\nM99",
     {{1, 10}, {2, 1}, {3, 11}}},
    {"CommonVariablesAndCommentsAnywhere",
     "(SETUP)\n#100=1 (ONE)\n#500=[#100+1](TWO)\n#999=#500*2",
     {{100, 1}, {500, 2}, {999, 4}}},
    {"ProgramEndsAtM30", "#1=1\nM30\n#1=2", {{1, 1}}},
    {"TextAfterTheClosingPercentIsIgnored", "%\nO100\n#1=1\n%\n#1=2", {{1, 1}}},
};

class Macro : public testing::TestWithParam<MacroCase> {};

TEST_P(Macro, LeavesTheExpectedVariables) {
    const MacroCase& c = GetParam();
    const CheckResult r = checkProgram(c.program);
    for (const Diagnostic& d : r.diagnostics) {
        ADD_FAILURE() << "line " << d.line << ": " << d.message;
    }
    EXPECT_TRUE(r.summary.ended);
    for (const Expect& e : c.expect) {
        const std::optional<double> v = r.variable(e.variable);
        if (std::isnan(e.value)) {
            EXPECT_FALSE(v.has_value()) << "#" << e.variable << " = " << v.value_or(0);
        } else {
            ASSERT_TRUE(v.has_value()) << "#" << e.variable << " is vacant";
            EXPECT_NEAR(*v, e.value, 1e-9) << "#" << e.variable;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Programs, Macro, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// 0.1 summed ten times is 0.9999999999999999: only a tolerant control stops
// the loop after ten passes, and the check says the count rests on rounding.
TEST(Macro, AComparisonDecidedByRoundingIsToldAndCanRunExactly) {
    constexpr const char* kProgram =
        "#1=0\n#2=0\nWHILE[#1LT1] DO1\n#1=#1+0.1\n#2=#2+1\nEND1\nIF[#1EQ1] THEN #3=1\n";
    const CheckResult tolerant = checkProgram(kProgram);
    EXPECT_EQ(tolerant.variable(2), 10.0);
    EXPECT_EQ(tolerant.variable(3), 1.0);
    ASSERT_EQ(tolerant.diagnostics.size(), 2u) << "once per line, the WHILE and the IF";
    EXPECT_EQ(tolerant.diagnostics[0].code, Code::FragileComparison);
    EXPECT_EQ(tolerant.diagnostics[0].line, 3);
    EXPECT_EQ(tolerant.diagnostics[1].line, 7);

    CheckOptions exact;
    exact.comparison = Comparison::Exact;
    const CheckResult control = checkProgram(kProgram, exact);
    EXPECT_EQ(control.variable(2), 11.0);
    EXPECT_FALSE(control.variable(3).has_value());
}

TEST(Macro, ASignChainIsAnErrorNotARecursion) {
    const CheckResult many = checkProgram("#1=" + std::string(200'000, '-') + "1\n");
    ASSERT_EQ(many.diagnostics.size(), 1u);
    EXPECT_EQ(many.diagnostics[0].code, Code::Syntax);
    EXPECT_NE(many.diagnostics[0].message.find("signs in a row"), std::string::npos);
    EXPECT_EQ(checkProgram("#1=--1\n#2=3--2\n").variable(1), 1.0);
}

TEST(Macro, ManyProgramsAreReadAndCalled) {
    std::string text = "O1\nM98 P200000\nM30\n";
    for (int n = 2; n <= 200'000; ++n) {
        text += "O" + std::to_string(n) + "\n#1=" + std::to_string(n) + "\nM99\n";
    }
    const CheckResult r = checkProgram(text);
    EXPECT_TRUE(r.diagnostics.empty());
    EXPECT_EQ(r.variable(1), 200000.0);
}

TEST(Macro, CrLfAndLfReadAlike) {
    const CheckResult lf = checkProgram("#1=1\nN2 #1=#1+1\nIF[#1LT3] GOTO2\n");
    const CheckResult crlf = checkProgram("#1=1\r\nN2 #1=#1+1\r\nIF[#1LT3] GOTO2\r\n");
    EXPECT_EQ(lf.variable(1), 3.0);
    EXPECT_EQ(crlf.variable(1), 3.0);
    EXPECT_EQ(lf.summary.blocksExecuted, crlf.summary.blocksExecuted);
}

// Numbers are read to the nearest double, the last bit included, whatever
// their length: short ones by a quicker way than long ones.
TEST(Macro, NumbersAreReadExactly) {
    std::mt19937_64 random(11);
    std::vector<std::string> texts = {"0.1",
                                      "0.3",
                                      "9007199254740993",
                                      "123456789012345.",
                                      "1234567890123456",
                                      "0.000000000000001",
                                      ".1234567"};
    for (int i = 0; i < 2000; ++i) {
        const int digits = 1 + static_cast<int>(random() % 17);
        std::string text;
        for (int d = 0; d < digits; ++d) {
            text += static_cast<char>('0' + random() % 10);
        }
        text.insert(random() % (text.size() + 1), ".");
        texts.push_back(text);
    }
    std::string program;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        program += "#" + std::to_string(500 + i % 400) + "=" + texts[i] + "\n";
        if (i % 400 == 399 || i + 1 == texts.size()) {
            const CheckResult r = checkProgram(program);
            for (std::size_t j = i - i % 400; j <= i; ++j) {
                double expected = 0.0;
                std::from_chars(texts[j].data(), texts[j].data() + texts[j].size(), expected);
                EXPECT_EQ(r.variable(static_cast<int>(500 + j % 400)), expected) << texts[j];
            }
            program.clear();
        }
    }
}

}  // namespace
}  // namespace tesmara::check
