#include "check/reader.hpp"

#include <charconv>
#include <cstdint>

namespace tesmara::check {

namespace {

constexpr int kMaxBracketDepth = 5;
constexpr int kMaxSigns = 2;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isUpper(char c) {
    return c >= 'A' && c <= 'Z';
}

struct Keyword {
    std::string_view name;
    OpCode code;
};

constexpr Keyword kComparisons[] = {
    {"EQ", OpCode::Eq}, {"NE", OpCode::Ne}, {"GT", OpCode::Gt},
    {"GE", OpCode::Ge}, {"LT", OpCode::Lt}, {"LE", OpCode::Le},
};

constexpr Keyword kFunctions[] = {
    {"SIN", OpCode::Sin},     {"COS", OpCode::Cos},   {"TAN", OpCode::Tan},
    {"ATAN", OpCode::Atan},   {"SQRT", OpCode::Sqrt}, {"ABS", OpCode::Abs},
    {"ROUND", OpCode::Round}, {"FIX", OpCode::Fix},   {"FUP", OpCode::Fup},
};

template <std::size_t N>
const Keyword* findKeyword(const Keyword (&table)[N], std::string_view name) {
    for (const Keyword& k : table) {
        if (k.name == name) {
            return &k;
        }
    }
    return nullptr;
}

// How deep the postfix code drives the stack; -1 when it underflows.
int stackDepth(const std::vector<Op>& ops) {
    int depth = 0;
    int deepest = 0;
    for (const Op& op : ops) {
        switch (op.code) {
            case OpCode::Const:
            case OpCode::Var:
                ++depth;
                break;
            case OpCode::VarIndirect:
            case OpCode::Neg:
            case OpCode::Sin:
            case OpCode::Cos:
            case OpCode::Tan:
            case OpCode::Atan:
            case OpCode::Sqrt:
            case OpCode::Abs:
            case OpCode::Round:
            case OpCode::Fix:
            case OpCode::Fup:
            case OpCode::RoundAddress:
                break;
            default:
                --depth;
                break;
        }
        deepest = std::max(deepest, depth);
    }
    return deepest;
}

}  // namespace

std::string quoted(char c) {
    if (c > ' ' && c < 0x7f) {
        return std::string("'") + c + "'";
    }
    constexpr char kHex[] = "0123456789ABCDEF";
    const auto byte = static_cast<unsigned char>(c);
    return std::string("byte 0x") + kHex[byte >> 4] + kHex[byte & 0xf];
}

void LineReader::fail(Code code, std::string message) const {
    failAt(code, column(), std::move(message));
}

void LineReader::failAt(Code code, int column, std::string message) const {
    throw ReadError{code, column, std::move(message)};
}

void LineReader::checkBrackets() const {
    if (m_text.find('[') == std::string_view::npos && m_text.find(']') == std::string_view::npos) {
        return;
    }
    std::vector<int> open;
    bool inComment = false;
    for (std::size_t i = 0; i < m_text.size(); ++i) {
        const char c = m_text[i];
        if (inComment) {
            inComment = c != ')';
        } else if (c == '(') {
            inComment = true;
        } else if (c == '[') {
            open.push_back(static_cast<int>(i) + 1);
        } else if (c == ']') {
            if (open.empty()) {
                failAt(Code::BracketsUnbalanced, static_cast<int>(i) + 1,
                       "']' has no matching '['");
            }
            open.pop_back();
        }
    }
    if (!open.empty()) {
        failAt(Code::BracketsUnbalanced, open.back(), "'[' is never closed by ']'");
    }
}

void LineReader::skipBlanksAndComments() {
    while (!atEnd()) {
        const char c = m_text[m_pos];
        if (c == ' ' || c == '\t') {
            ++m_pos;
        } else if (c == '(') {
            const std::size_t close = m_text.find(')', m_pos);
            const std::size_t end = close == std::string_view::npos ? m_text.size() : close;
            m_comment = m_text.substr(m_pos + 1, end - m_pos - 1);
            m_pos = close == std::string_view::npos ? end : end + 1;
        } else {
            return;
        }
    }
}

std::string_view LineReader::peekWord() const {
    std::size_t end = m_pos;
    while (end < m_text.size() && isUpper(m_text[end])) {
        ++end;
    }
    return m_text.substr(m_pos, end - m_pos);
}

std::string_view LineReader::readWord() {
    const std::size_t start = m_pos;
    while (!atEnd() && isUpper(m_text[m_pos])) {
        ++m_pos;
    }
    return m_text.substr(start, m_pos - start);
}

int LineReader::readInteger(std::string_view what) {
    skipBlanks();
    const std::size_t start = m_pos;
    while (!atEnd() && isDigit(m_text[m_pos]) && m_pos - start < 9) {
        ++m_pos;
    }
    if (m_pos == start) {
        fail(Code::Syntax, std::string(what) + " needs a whole number here");
    }
    if (!atEnd() && (isDigit(peek()) || peek() == '.')) {
        fail(Code::Syntax, std::string(what) + " must be a whole number of at most 9 digits");
    }
    int value = 0;
    std::from_chars(m_text.data() + start, m_text.data() + m_pos, value);
    return value;
}

void LineReader::expect(char c, std::string_view where) {
    skipBlanks();
    if (peek() != c) {
        fail(Code::Syntax, std::string("'") + c + "' expected " + std::string(where));
    }
    ++m_pos;
}

double LineReader::readNumber(bool& hadPoint) {
    const std::size_t start = m_pos;
    std::size_t digits = 0;
    std::size_t decimals = 0;
    std::uint64_t mantissa = 0;
    while (!atEnd() && isDigit(peek())) {
        mantissa = mantissa * 10 + static_cast<unsigned>(peek() - '0');
        ++m_pos, ++digits;
    }
    hadPoint = peek() == '.';
    if (hadPoint) {
        ++m_pos;
        while (!atEnd() && isDigit(peek())) {
            mantissa = mantissa * 10 + static_cast<unsigned>(peek() - '0');
            ++m_pos, ++digits, ++decimals;
        }
    }
    if (digits == 0) {
        failAt(Code::Syntax, static_cast<int>(start) + 1,
               "a number is missing here (is a field empty?)");
    }
    if (peek() == ',' && m_pos + 1 < m_text.size() && isDigit(m_text[m_pos + 1])) {
        fail(Code::DecimalComma, "',' in a number: write the decimal point as '.', e.g. 12.5");
    }
    if (peek() == '.') {
        fail(Code::Syntax, "a number has two decimal points");
    }
    // Up to 15 digits both the digits and the power of ten are exact doubles,
    // so one division rounds exactly as the full conversion does.
    constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    if (digits <= 15) {
        return static_cast<double>(mantissa) / kPowersOfTen[decimals];
    }
    double value = 0.0;
    const auto [end, ec] = std::from_chars(m_text.data() + start, m_text.data() + m_pos, value);
    if (ec != std::errc() || end != m_text.data() + m_pos) {
        failAt(Code::Syntax, static_cast<int>(start) + 1, "a number is out of range");
    }
    return value;
}

int LineReader::readTargetVariable() {
    const int col = column();
    expect('#', "before a variable number");
    if (peek() == '[') {
        fail(Code::NotSupported, "an assignment to #[...] is not supported");
    }
    const int n = readInteger("'#'");
    if (n == 0) {
        failAt(Code::BadVariable, col, "#0 is always vacant and cannot be set");
    }
    if (!isStoredVariable(n) && n != kAlarmVariable) {
        failAt(Code::BadVariable, col,
               "#" + std::to_string(n) +
                   " is not a variable this check knows "
                   "(#1-#33, #100-#199, #500-#999, #3000)");
    }
    return n;
}

Operand LineReader::readOperand(std::string_view what, std::vector<Op>& pool, bool& plainNumber,
                                bool& hadPoint) {
    skipBlanks();
    std::vector<Op> ops;
    const bool negative = peek() == '-';
    if (negative || peek() == '+') {
        ++m_pos;
        skipBlanks();
    }
    plainNumber = isDigit(peek()) || peek() == '.';
    hadPoint = false;
    if (plainNumber) {
        // Most words are a number: no expression to build.
        const double value = readNumber(hadPoint);
        Operand out;
        out.value = negative ? -value : value;
        return out;
    }
    if (peek() == '#') {
        parseVariable(ops);
    } else if (peek() == '[') {
        parseBracket(ops);
    } else {
        fail(Code::Syntax, std::string(what) + " has no value (is a field empty?)");
    }
    if (negative) {
        ops.push_back({OpCode::Neg});
    }
    return finish(ops, pool);
}

Operand LineReader::readExpression(std::vector<Op>& pool) {
    std::vector<Op> ops;
    skipBlanks();
    if (atEnd()) {
        fail(Code::Syntax, "nothing follows '=' (is a field empty?)");
    }
    parseOr(ops);
    return finish(ops, pool);
}

Operand LineReader::finish(std::vector<Op>& ops, std::vector<Op>& pool) const {
    Operand out;
    if (ops.size() == 1 && ops[0].code == OpCode::Const) {
        out.value = ops[0].value;
        return out;
    }
    if (ops.size() == 2 && ops[0].code == OpCode::Const && ops[1].code == OpCode::Neg) {
        out.value = -ops[0].value;
        return out;
    }
    const bool bare = ops.size() == 1 && ops[0].code == OpCode::Var;
    const bool negated =
        ops.size() == 2 && ops[0].code == OpCode::Var && ops[1].code == OpCode::Neg;
    if (bare || negated) {
        out.kind = bare ? Operand::Kind::Var : Operand::Kind::NegVar;
        out.var = ops[0].var;
        return out;
    }
    if (stackDepth(ops) > kStackSize) {
        fail(Code::NotSupported, "the expression is too long");
    }
    out.kind = Operand::Kind::Expr;
    out.first = static_cast<int>(pool.size());
    out.count = static_cast<int>(ops.size());
    pool.insert(pool.end(), ops.begin(), ops.end());
    return out;
}

void LineReader::parseOr(std::vector<Op>& out) {
    parseAnd(out);
    for (;;) {
        skipBlanks();
        const std::size_t save = m_pos;
        const std::string_view word = readWord();
        if (word != "OR" && word != "XOR") {
            m_pos = save;
            return;
        }
        parseAnd(out);
        out.push_back({word == "OR" ? OpCode::Or : OpCode::Xor});
    }
}

void LineReader::parseAnd(std::vector<Op>& out) {
    parseCompare(out);
    for (;;) {
        skipBlanks();
        const std::size_t save = m_pos;
        if (readWord() != "AND") {
            m_pos = save;
            return;
        }
        parseCompare(out);
        out.push_back({OpCode::And});
    }
}

void LineReader::parseCompare(std::vector<Op>& out) {
    parseSum(out);
    skipBlanks();
    const std::size_t save = m_pos;
    const Keyword* cmp = findKeyword(kComparisons, readWord());
    if (cmp == nullptr) {
        m_pos = save;
        return;
    }
    parseSum(out);
    out.push_back({cmp->code});
}

void LineReader::parseSum(std::vector<Op>& out) {
    parseProduct(out);
    for (;;) {
        skipBlanks();
        const char c = peek();
        if (c != '+' && c != '-') {
            return;
        }
        ++m_pos;
        parseProduct(out);
        out.push_back({c == '+' ? OpCode::Add : OpCode::Sub});
    }
}

void LineReader::parseProduct(std::vector<Op>& out) {
    parseUnary(out);
    for (;;) {
        skipBlanks();
        const char c = peek();
        if (c != '*' && c != '/') {
            return;
        }
        ++m_pos;
        parseUnary(out);
        out.push_back({c == '*' ? OpCode::Mul : OpCode::Div});
    }
}

// Signs are read in a loop, not by recursion, so no text can exhaust the stack.
void LineReader::parseUnary(std::vector<Op>& out) {
    bool negative = false;
    int signs = 0;
    for (skipBlanks(); peek() == '-' || peek() == '+'; skipBlanks()) {
        if (++signs > kMaxSigns) {
            fail(Code::Syntax, "more than " + std::to_string(kMaxSigns) + " signs in a row");
        }
        negative ^= peek() == '-';
        ++m_pos;
    }
    parsePrimary(out);
    if (negative) {
        out.push_back({OpCode::Neg});
    }
}

void LineReader::parsePrimary(std::vector<Op>& out) {
    skipBlanks();
    const char c = peek();
    if (isDigit(c) || c == '.') {
        bool hadPoint = false;
        out.push_back({OpCode::Const, 0, readNumber(hadPoint)});
    } else if (c == '#') {
        parseVariable(out);
    } else if (c == '[') {
        parseBracket(out);
    } else if (isUpper(c)) {
        const int col = column();
        parseFunction(readWord(), col, out);
    } else if (atEnd()) {
        fail(Code::Syntax, "the expression ends too early (is a field empty?)");
    } else {
        fail(Code::Syntax, quoted(c) + " cannot stand here in an expression");
    }
}

void LineReader::parseBracket(std::vector<Op>& out) {
    if (++m_depth > kMaxBracketDepth) {
        fail(Code::BracketsTooDeep, "brackets are nested deeper than 5 levels");
    }
    ++m_pos;
    parseOr(out);
    expect(']', "to close the bracket");
    --m_depth;
}

void LineReader::parseVariable(std::vector<Op>& out) {
    const int col = column();
    ++m_pos;
    if (peek() == '[') {
        parseBracket(out);
        out.push_back({OpCode::VarIndirect});
        return;
    }
    const int n = readInteger("'#'");
    if (!isStoredVariable(n)) {
        failAt(Code::BadVariable, col,
               "#" + std::to_string(n) +
                   " cannot be read here "
                   "(#0-#33, #100-#199, #500-#999)");
    }
    out.push_back({OpCode::Var, n});
}

void LineReader::parseFunction(std::string_view name, int col, std::vector<Op>& out) {
    const Keyword* fn = findKeyword(kFunctions, name);
    if (fn == nullptr) {
        failAt(Code::Syntax, col, "'" + std::string(name) + "' is not a function or operator");
    }
    skipBlanks();
    if (peek() != '[') {
        fail(Code::Syntax, std::string(name) + " must be followed by '['");
    }
    parseBracket(out);
    skipBlanks();
    if (fn->code == OpCode::Atan && peek() == '/' && m_pos + 1 < m_text.size() &&
        m_text[m_pos + 1] == '[') {
        ++m_pos;
        parseBracket(out);
        out.push_back({OpCode::Atan2});
        return;
    }
    out.push_back({fn->code});
}

}  // namespace tesmara::check
