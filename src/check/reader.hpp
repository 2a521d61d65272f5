#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "check/compiled.hpp"

namespace tesmara::check {

// A character as a message shows it: 'X', or "byte 0xE4" for anything that
// is not printable ASCII, so messages stay valid UTF-8.
std::string quoted(char c);

// Why a line could not be read; thrown inside the reader and turned into one
// diagnostic for the line.
struct ReadError {
    Code code;
    int column;
    std::string message;
};

// Reads the words and expressions of one line; every lexical rule lives here.
class LineReader {
public:
    explicit LineReader(std::string_view text) : m_text(text) {}

    // Throws ReadError at the first unbalanced bracket.
    void checkBrackets() const;

    // Skips blanks and comments; remembers the last comment's text. Inline
    // for the common case of nothing to skip.
    void skipBlanks() {
        if (!atEnd() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' || m_text[m_pos] == '(')) {
            skipBlanksAndComments();
        }
    }
    bool atEnd() const { return m_pos >= m_text.size(); }
    char peek() const { return atEnd() ? '\0' : m_text[m_pos]; }
    void advance() { ++m_pos; }
    int column() const { return static_cast<int>(m_pos) + 1; }
    std::string_view lastComment() const { return m_comment; }
    std::string_view since(int column) const {
        return m_text.substr(static_cast<std::size_t>(column - 1), m_pos + 1 - column);
    }

    // A run of capital letters (possibly empty).
    std::string_view readWord();
    std::string_view peekWord() const;
    // Digits only; throws naming `what` when there are none.
    int readInteger(std::string_view what);
    void expect(char c, std::string_view where);

    // A word's value: a number, #n, #[e] or [e], each with an optional sign.
    // `hadPoint` tells whether a plain number was written with a decimal point.
    Operand readOperand(std::string_view what, std::vector<Op>& pool, bool& plainNumber,
                        bool& hadPoint);
    // A whole expression up to the end of the line or a closing bracket.
    Operand readExpression(std::vector<Op>& pool);
    // #n as a target of an assignment.
    int readTargetVariable();

    [[noreturn]] void fail(Code code, std::string message) const;
    [[noreturn]] void failAt(Code code, int column, std::string message) const;

private:
    void skipBlanksAndComments();
    double readNumber(bool& hadPoint);
    void parseOr(std::vector<Op>& out);
    void parseAnd(std::vector<Op>& out);
    void parseCompare(std::vector<Op>& out);
    void parseSum(std::vector<Op>& out);
    void parseProduct(std::vector<Op>& out);
    void parseUnary(std::vector<Op>& out);
    void parsePrimary(std::vector<Op>& out);
    void parseBracket(std::vector<Op>& out);
    void parseVariable(std::vector<Op>& out);
    void parseFunction(std::string_view name, int column, std::vector<Op>& out);
    Operand finish(std::vector<Op>& ops, std::vector<Op>& pool) const;

    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_depth = 0;
    std::string_view m_comment;
};

// The deepest expression stack any compiled expression may need.
constexpr int kStackSize = 64;

}  // namespace tesmara::check
