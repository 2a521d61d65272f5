// Every diagnostic code from a program that should raise it, on the right line.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "check/check.hpp"

namespace tesmara::check {
namespace {

// Spindle on and length compensation first, so only the fault under test warns.
constexpr const char* kReady = "M3 S1000\nG43 H1 Z50.\n";
// D1 holds radius 2, D3 radius 5.
constexpr const char* kTools = "tool,diameter\n1,4\n3,10\n";

struct DiagnosticCase {
    Code code;
    std::string program;
    int line;
    int column;  // 0: not checked
    const char* mentions;
    const char* tools = nullptr;  // a tool table, for the compensation faults
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const DiagnosticCase& c, std::ostream* os) {
    *os << testing::PrintToString(c.program);
}

const DiagnosticCase kCases[] = {
    {Code::Syntax, "M6 T\n", 1, 0, "T has no value"},
    {Code::Syntax, "#1=\n", 1, 0, "field empty"},
    {Code::Syntax, "G1 X. F100.\n", 1, 5, "number is missing"},
    {Code::Syntax, "G1 X1. \xe4\xb8\x80\n", 1, 8, "byte 0xE4 is not expected"},
    {Code::DecimalComma, "#1=1\nG1 X12,5 F100.\n", 2, 7, "decimal point"},
    {Code::UnknownAddress, "G1 K5.\n", 1, 4, "address K"},
    {Code::RepeatedAddress, "G1 X1. X2.\n", 1, 8, "X appears twice"},
    {Code::ModalConflict, "G0 G1 X1.\n", 1, 4, "G1 conflicts"},
    {Code::BracketsUnbalanced, "#1=[1+2\n", 1, 4, "never closed"},
    {Code::BracketsUnbalanced, "#1=1+2]\n", 1, 7, "no matching"},
    {Code::BracketsTooDeep, "#1=[[[[[[1]]]]]]\n", 1, 0, "deeper than 5"},
    {Code::BadVariable, "#0=1\n", 1, 1, "#0"},
    {Code::BadVariable, "#1=#4001\n", 1, 4, "#4001"},
    {Code::LoopMismatch, "WHILE[1LT2] DO1\n#1=1\n", 1, 0, "no END1"},
    {Code::LoopMismatch, "#1=1\nEND2\n", 2, 1, "END2"},
    {Code::MissingLabel, "#1=7\nGOTO#1\n", 2, 0, "N7"},
    {Code::MissingProgram, "M98 P1234\n", 1, 0, "O1234"},
    {Code::NotSupported, "G4 X1.\n", 1, 1, "G4"},
    {Code::NotSupported, "G18\n", 1, 1, "G17"},
    {Code::ArcRadiusTooSmall, std::string(kReady) + "G1 X0 Y0 F100.\nG2 X20. Y0 R5.\n", 4, 0,
     "cannot reach"},
    {Code::ArcWithoutCentre, std::string(kReady) + "G2 X10. Y0 F100.\n", 3, 0, "I and J"},
    {Code::DivisionByZero, "#1=0\n#2=1/#1\n", 2, 0, "division by zero"},
    {Code::TanOf90, "#1=TAN[90]\n", 1, 0, "TAN[90]"},
    {Code::SqrtOfNegative, "#1=SQRT[-4]\n", 1, 0, "-4"},
    {Code::OutOfRange, "#1=10000000000\nWHILE[#1GT0] DO1\n#1=#1*#1\nEND1\n", 3, 0, "overflows"},
    {Code::Alarm, "#1=1\nIF[#1GT0] THEN #3000=1(DAO JU TAI XIAO)\n", 2, 0, "DAO JU TAI XIAO"},
    {Code::SubprogramNesting, "O1\nM98 P1\n", 2, 0, "levels deep"},
    {Code::BlockLimit, "N1 GOTO1\n", 1, 0, "does not end"},
    {Code::ToolTooLarge, std::string(kReady) + "G0 X0 Y0\nG41 G1 X5. Y0 D3 F100.\nG3 I-5.\nG40 G1 X0 Y0\n", 5,
     0, "radius 5 (D3)", kTools},
    {Code::CompensationInterference,
     std::string(kReady) + "G0 X0 Y-10.\nG41 D1 G1 X0 Y0 F100.\nX1.\nY10.\nG40 X-5.\n", 5, 0,
     "radius 2 (D1)", kTools},
    {Code::ArcOffsetUnreachable,
     std::string(kReady) +
         "G0 X-10. Y-5.\nG41 D1 G1 X-10. Y0 F100.\nX0\nG3 X-6. Y0 I-3.\nG40 G1 X-10. Y-5.\n",
     5, 0, "radius 2 (D1)", kTools},
    {Code::CompensationOnArc,
     std::string(kReady) + "G0 X10. Y0\nG41 D1 G3 I-10. F100.\nG40 G1 X0\n", 4, 0, "start", kTools},
    {Code::RapidBelowZero, std::string(kReady) + "G1 Z-2. F100.\nG0 X10.\nG0 Z5.\n", 4, 0,
     "below Z0"},
    {Code::FeedRateZero, std::string(kReady) + "G0 X0 Y0\nG1 X10.\n", 4, 0, "no feed rate"},
    {Code::FeedRateZero, std::string(kReady) + "G0 X0 Y0\nG1 X10. F#9\n", 4, 0, "no feed rate"},
    {Code::SpindleStopped, "G43 H1 Z50.\nG0 X0 Y0\nG1 X10. F100.\n", 3, 0, "spindle stopped"},
    {Code::ZBeforeLengthComp, "M3 S1000\nG0 Z150.\nG0 Z5.\n", 3, 0, "G43"},
    {Code::NoDecimalPoint, std::string(kReady) + "G0 X10 Y0\n", 3, 4, "X10 has no decimal"},
    {Code::DuplicateProgram, "O100\nM30\nO1\nM99\nO1\nM99\n", 5, 0, "O1 is defined twice"},
    {Code::NotSafeAtEnd, std::string(kReady) + "G1 Z-1. F100.\nM30\n", 3, 0, "ends with the tool"},
    {Code::RapidIntoWork, std::string(kReady) + "G0 Z-5.\nG0 Z5.\n", 3, 4, "Z-5."},
    {Code::RapidIntoWork, std::string(kReady) + "G91 G0 Z-60.\nG90 G0 Z5.\n", 3, 8, "Z-10."},
    {Code::RapidIntoWork, "T3 M6\nM3 S1000\nG43 H3 Z-5.\nG0 Z5.\n", 3, 8, "Z-5."},
    {Code::LengthOffsetNotTool, "T1 M6\nM3 S1000\nG43 H2 Z50.\n", 3, 5, "the tool is T1"},
    {Code::HomeThroughWork, std::string(kReady) + "G90 G28 Z0\n", 3, 9, "G91 G28 Z0"},
    {Code::FragileComparison, "#1=0\nWHILE[#1LE0.3] DO1\n#1=#1+0.1\nEND1\n", 2, 0,
     "once more, once less, or never ends"},
    {Code::LabelNotFound, "#1=0\nIF[#1GT1] GOTO99\nM30\n", 2, 0, "if the branch is taken"},
    {Code::ArcRadiusNotPositive, std::string(kReady) + "G0 X0 Y0\nG1 F100.\nG2 X10. Y0 R0\n", 5, 0,
     "zero"},
    {Code::ArcRadiusNotPositive,
     std::string(kReady) +
         "G0 X0 Y0\n#6=2.\nN1 G1 X#6 Y0 F100.\nG3 I-#6\n#6=#6-1.5\nIF[#6GT-2.] GOTO1\n",
     6, 0, "has become negative"},
    {Code::ArcRadiusTooSmall, std::string(kReady) + "G0 X0 Y0\nG1 F100.\nG3 X-1. Y0 R-0.4\n", 5, 0,
     "tool radius is larger than the thread's minor radius"},
};

class Diagnostics : public testing::TestWithParam<DiagnosticCase> {};

TEST_P(Diagnostics, ReportsTheFaultOnItsLine) {
    const DiagnosticCase& c = GetParam();
    CheckOptions options;
    if (c.tools != nullptr) {
        options.tools = parseToolTable(c.tools).table;
    }
    const CheckResult r = checkProgram(c.program, options);
    const auto it = std::find_if(r.diagnostics.begin(), r.diagnostics.end(),
                                 [&](const Diagnostic& d) { return d.code == c.code; });
    ASSERT_NE(it, r.diagnostics.end()) << "no " << codeId(c.code) << " for:\n" << c.program;
    EXPECT_EQ(it->severity, severityOf(c.code));
    EXPECT_EQ(it->line, c.line) << it->message;
    if (c.column != 0) {
        EXPECT_EQ(it->column, c.column) << it->message;
    }
    EXPECT_NE(it->message.find(c.mentions), std::string::npos) << it->message;
    EXPECT_EQ(r.hasError(), severityOf(c.code) == Severity::Error);
    EXPECT_EQ(r.diagnostics.size(), 1u)
        << "only the fault under test: " << r.diagnostics.back().message;
}

INSTANTIATE_TEST_SUITE_P(Codes, Diagnostics, testing::ValuesIn(kCases), [](const auto& info) {
    std::string name(codeId(info.param.code));
    std::replace(name.begin(), name.end(), '-', '_');
    return name + "_" + std::to_string(info.index);
});

TEST(Diagnostics, EveryCodeHasACase) {
    std::set<Code> covered;
    for (const DiagnosticCase& c : kCases) {
        covered.insert(c.code);
    }
    for (int i = 0; i < kCodeCount; ++i) {
        EXPECT_TRUE(covered.count(static_cast<Code>(i))) << codeId(static_cast<Code>(i));
    }
}

TEST(Diagnostics, AWarningInALoopIsToldOnceAndTheRunGoesOn) {
    const CheckResult r = checkProgram(
        "G43 H1 Z5.\n#1=0\nN1 G1 X[#1*10+10.] F100.\n#1=#1+1\n"
        "IF[#1LT50] GOTO1\nG0 Z5.\nM30\n");
    ASSERT_EQ(r.diagnostics.size(), 1u);
    EXPECT_EQ(r.diagnostics[0].code, Code::SpindleStopped);
    EXPECT_EQ(r.segments.size(), 50u) << "the first X tells where the tool stands";
    EXPECT_TRUE(r.summary.ended);
}

TEST(Diagnostics, AFailingBlockMovesNothingAndTheRunStopsThere) {
    const CheckResult r =
        checkProgram(std::string(kReady) + "G0 X0 Y0\nG1 X5. F100.\nG2 X40. Y0 R5. M5\nG1 X0\n");
    ASSERT_TRUE(r.hasError());
    EXPECT_FALSE(r.summary.ended);
    ASSERT_EQ(r.segments.size(), 2u) << "the plunge and the X5. move, not the arc";
    EXPECT_DOUBLE_EQ(r.segments.back().end.x, 5.0);
    EXPECT_EQ(r.summary.blocksExecuted, 5);
}

TEST(Diagnostics, AGotoToAMissingLabelIsAnErrorOnlyWhenTaken) {
    constexpr const char* kBranch = "IF[#1GT1] GOTO99\nM30\n";
    const CheckResult notTaken = checkProgram(std::string("#1=0\n") + kBranch);
    EXPECT_FALSE(notTaken.hasError());
    EXPECT_TRUE(notTaken.summary.ended);
    const CheckResult taken = checkProgram(std::string("#1=2\n") + kBranch);
    ASSERT_EQ(taken.diagnostics.size(), 2u);
    EXPECT_EQ(taken.diagnostics[0].code, Code::LabelNotFound);
    EXPECT_EQ(taken.diagnostics[1].code, Code::MissingLabel);
    EXPECT_EQ(taken.diagnostics[1].line, 2);
    EXPECT_FALSE(taken.summary.ended);
}

TEST(Diagnostics, ErrorsInLinesNeverReachedAreStillReported) {
    const CheckResult r = checkProgram("M30\nG1 X1,5\n");
    ASSERT_EQ(r.diagnostics.size(), 1u);
    EXPECT_EQ(r.diagnostics[0].code, Code::DecimalComma);
    EXPECT_TRUE(r.summary.ended);
}

TEST(Diagnostics, DiagnosticsNameTheirProgram) {
    const CheckResult r = checkProgram("O100\nM98 P2000\nM30\nO2000\n#1=1/0\nM99\n");
    ASSERT_EQ(r.diagnostics.size(), 1u);
    EXPECT_EQ(r.diagnostics[0].program, 2000);
    EXPECT_EQ(r.diagnostics[0].line, 5);
}

}  // namespace
}  // namespace tesmara::check
