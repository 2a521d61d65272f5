#include "check/diagnostic.hpp"

namespace tesmara::check {

namespace {

struct CodeInfo {
    Code code;
    Severity severity;
    std::string_view id;
};

constexpr CodeInfo kCodes[] = {
    {Code::Syntax, Severity::Error, "syntax"},
    {Code::DecimalComma, Severity::Error, "decimal-comma"},
    {Code::UnknownAddress, Severity::Error, "unknown-address"},
    {Code::RepeatedAddress, Severity::Error, "repeated-address"},
    {Code::ModalConflict, Severity::Error, "modal-conflict"},
    {Code::BracketsUnbalanced, Severity::Error, "brackets-unbalanced"},
    {Code::BracketsTooDeep, Severity::Error, "brackets-too-deep"},
    {Code::BadVariable, Severity::Error, "bad-variable"},
    {Code::LoopMismatch, Severity::Error, "loop-mismatch"},
    {Code::MissingLabel, Severity::Error, "missing-label"},
    {Code::MissingProgram, Severity::Error, "missing-program"},
    {Code::NotSupported, Severity::Error, "not-supported"},
    {Code::ArcRadiusTooSmall, Severity::Error, "arc-radius-too-small"},
    {Code::ArcWithoutCentre, Severity::Error, "arc-without-centre"},
    {Code::DivisionByZero, Severity::Error, "division-by-zero"},
    {Code::TanOf90, Severity::Error, "tan-of-90"},
    {Code::SqrtOfNegative, Severity::Error, "sqrt-of-negative"},
    {Code::OutOfRange, Severity::Error, "out-of-range"},
    {Code::Alarm, Severity::Error, "alarm"},
    {Code::SubprogramNesting, Severity::Error, "subprogram-nesting"},
    {Code::BlockLimit, Severity::Error, "does-not-end"},
    {Code::ToolTooLarge, Severity::Error, "tool-too-large"},
    {Code::CompensationInterference, Severity::Error, "compensation-interference"},
    {Code::ArcOffsetUnreachable, Severity::Error, "arc-offset-unreachable"},
    {Code::CompensationOnArc, Severity::Error, "compensation-on-arc"},
    {Code::RapidBelowZero, Severity::Warning, "rapid-below-zero"},
    {Code::FeedRateZero, Severity::Warning, "feed-rate-zero"},
    {Code::SpindleStopped, Severity::Warning, "spindle-stopped"},
    {Code::ZBeforeLengthComp, Severity::Warning, "z-before-length-comp"},
    {Code::NoDecimalPoint, Severity::Warning, "no-decimal-point"},
    {Code::DuplicateProgram, Severity::Warning, "duplicate-program"},
    {Code::NotSafeAtEnd, Severity::Warning, "not-safe-at-end"},
    {Code::RapidIntoWork, Severity::Warning, "rapid-into-work"},
    {Code::LengthOffsetNotTool, Severity::Warning, "length-offset-not-tool"},
    {Code::HomeThroughWork, Severity::Warning, "home-through-work"},
    {Code::FragileComparison, Severity::Warning, "fragile-comparison"},
    {Code::LabelNotFound, Severity::Warning, "label-not-found"},
    {Code::ArcRadiusNotPositive, Severity::Error, "arc-radius-not-positive"},
};

static_assert(std::size(kCodes) == kCodeCount, "one row per code");

constexpr bool rowsInOrder() {
    for (int i = 0; i < kCodeCount; ++i) {
        if (static_cast<int>(kCodes[i].code) != i) {
            return false;
        }
    }
    return true;
}
static_assert(rowsInOrder(), "the table is indexed by code");

}  // namespace

Severity severityOf(Code code) {
    return kCodes[static_cast<int>(code)].severity;
}

std::string_view codeId(Code code) {
    return kCodes[static_cast<int>(code)].id;
}

}  // namespace tesmara::check
