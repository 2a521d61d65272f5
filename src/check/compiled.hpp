#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "check/diagnostic.hpp"

namespace tesmara::check {

// Variable numbers the interpreter stores in its flat array; #3000 is the
// alarm and is never stored.
constexpr int kVariableCount = 1000;
constexpr int kAlarmVariable = 3000;

constexpr bool isStoredVariable(int n) {
    return (n >= 0 && n <= 33) || (n >= 100 && n <= 199) || (n >= 500 && n <= 999);
}

// Postfix expression code; one pool per compiled text.
enum class OpCode : std::uint8_t {
    Const,
    Var,          // pushes the variable, vacant (NaN) kept
    VarIndirect,  // pops a number, pushes that variable
    Neg,
    Add,
    Sub,
    Mul,
    Div,
    Sin,
    Cos,
    Tan,
    Atan,
    Atan2,
    Sqrt,
    Abs,
    Round,
    Fix,
    Fup,
    RoundAddress,  // ROUND inside an NC address: to the address's 0.001 mm
    Eq,
    Ne,
    Gt,
    Ge,
    Lt,
    Le,
    And,  // the logical operations work bitwise on whole numbers
    Or,
    Xor,
};

struct Op {
    OpCode code;
    std::int32_t var = 0;
    double value = 0.0;
};

// A word's value: most are a literal or one variable, so those skip the
// expression machine.
struct Operand {
    enum class Kind : std::uint8_t { Const, Var, NegVar, Expr } kind = Kind::Const;
    std::int32_t var = 0;
    std::int32_t first = 0;  // Expr: range in the op pool
    std::int32_t count = 0;
    double value = 0.0;
};

// The addresses an NC block may carry, in this order in NcBlock::words.
enum class Address : std::uint8_t { X, Y, Z, I, J, R, F, S, T, D, H, P, L };
constexpr int kAddressCount = 13;
constexpr std::string_view kAddressLetters = "XYZIJRFSTDHPL";

constexpr std::uint16_t bit(Address a) {
    return std::uint16_t(1u << static_cast<int>(a));
}

enum class Motion : std::int8_t { None = -1, Rapid = 0, Linear = 1, ArcCw = 2, ArcCcw = 3 };
enum class Compensation : std::int8_t { Off, Left, Right };

// Modal changes a block asks for; -1 (or None) leaves the mode as it is.
struct NcBlock {
    Motion motion = Motion::None;
    std::int8_t absolute = -1;      // G90 1, G91 0
    std::int8_t polar = -1;         // G16 1, G15 0
    std::int8_t compensation = -1;  // Compensation value
    std::int8_t lengthComp = -1;    // G43 1, G49 0
    std::int8_t workOffset = -1;    // G54..G59 as 0..5
    bool home = false;              // G28
    bool localShift = false;        // G52
    std::uint8_t mCount = 0;
    std::array<std::uint8_t, 4> m{};
    std::uint16_t wordMask = 0;
    std::array<Operand, kAddressCount> words{};
    std::array<std::uint16_t, kAddressCount> columns{};  // of each word, 0 past 65535
};

enum class BlockKind : std::uint8_t {
    Nc,
    Assign,   // #a = expr (message for #3000)
    Goto,     // to block `target`, or to the label `expr` gives
    IfGoto,   // cond; target as Goto
    IfThen,   // cond; then the assignment
    While,    // cond; `target` is the block after the matching END
    End,      // back to the WHILE at `target`
    Invalid,  // a block that could not be read: the run stops here
};

struct Block {
    BlockKind kind = BlockKind::Invalid;
    std::int32_t line = 0;
    std::int32_t program = 0;  // index into CompiledText::programs
    std::int32_t target = -1;
    std::int32_t assignVar = 0;
    std::int32_t nc = -1;       // index into CompiledText::nc
    std::int32_t message = -1;  // index into CompiledText::messages
    Operand cond;               // also GOTO's label when not resolved at compile time
    Operand value;
};

struct Label {
    std::int32_t number;
    std::int32_t block;
};

struct ProgramInfo {
    std::int32_t number = 0;  // O number, 0 for text before any O
    std::int32_t firstBlock = 0;
    std::int32_t endBlock = 0;
    std::vector<Label> labels;  // sorted by number
};

// What reading the text gives: every block with its jumps and expressions
// resolved, so a run never looks at text again.
struct CompiledText {
    std::vector<Block> blocks;
    std::vector<NcBlock> nc;
    std::vector<Op> ops;
    std::vector<std::string> messages;
    std::vector<ProgramInfo> programs;  // the first one is the main program
    std::vector<Diagnostic> diagnostics;
    // (O number, index into programs) sorted by number, the first definition
    // of a number only: calls find a program in log time.
    std::vector<std::pair<std::int32_t, std::int32_t>> programIndex;

    const ProgramInfo* findProgram(int number) const;
    int findLabel(int program, int label) const;  // block index or -1
};

CompiledText compileText(std::string_view text);

}  // namespace tesmara::check
