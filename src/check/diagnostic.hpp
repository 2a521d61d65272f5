#pragma once

#include <string>
#include <string_view>

namespace tesmara::check {

enum class Severity { Warning, Error };

// Stable codes: their ids are part of the JSON output and must never change.
enum class Code {
    // errors found while reading the text
    Syntax,
    DecimalComma,
    UnknownAddress,
    RepeatedAddress,
    ModalConflict,
    BracketsUnbalanced,
    BracketsTooDeep,
    BadVariable,
    LoopMismatch,
    MissingLabel,
    MissingProgram,
    NotSupported,
    // errors found while running
    ArcRadiusTooSmall,
    ArcWithoutCentre,
    DivisionByZero,
    TanOf90,
    SqrtOfNegative,
    OutOfRange,
    Alarm,
    SubprogramNesting,
    BlockLimit,
    ToolTooLarge,
    CompensationInterference,
    ArcOffsetUnreachable,
    CompensationOnArc,
    // warnings
    RapidBelowZero,
    FeedRateZero,
    SpindleStopped,
    ZBeforeLengthComp,
    NoDecimalPoint,
    DuplicateProgram,
    NotSafeAtEnd,
    // added later; warnings then errors
    RapidIntoWork,
    LengthOffsetNotTool,
    HomeThroughWork,
    FragileComparison,
    LabelNotFound,
    ArcRadiusNotPositive,
};

constexpr int kCodeCount = static_cast<int>(Code::ArcRadiusNotPositive) + 1;

Severity severityOf(Code code);

// The id used in machine-readable output, e.g. "arc-radius-too-small".
std::string_view codeId(Code code);

struct Diagnostic {
    Severity severity;
    Code code;
    int program;  // O number of the program the line belongs to, 0 before any O
    int line;     // 1-based line of the checked text
    int column;   // 1-based byte column, 0 when the whole line is meant
    std::string message;
};

}  // namespace tesmara::check
