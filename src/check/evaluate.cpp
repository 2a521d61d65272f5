#include "check/evaluate.hpp"

#include <algorithm>
#include <numbers>

#include "check/format.hpp"
#include "check/reader.hpp"

namespace tesmara::check {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
constexpr double kWholeLimit = 9007199254740992.0;  // 2^53: every whole double below is exact

// The binary integer a logical operation works on.
std::int64_t bits(double v) {
    return static_cast<std::int64_t>(std::round(std::clamp(v, -kWholeLimit, kWholeLimit)));
}

bool greater(double a, double b, bool exact) {
    return a > b && (exact || !nearlyEqual(a, b));
}

}  // namespace

bool nearlyEqual(double a, double b) {
    const double scale = std::max({1.0, std::fabs(a), std::fabs(b)});
    return std::fabs(a - b) <= 1e-9 * scale;
}

void Evaluator::fail(Code code, std::string message) {
    if (!m_failed) {
        m_failed = true;
        m_fault = {code, std::move(message)};
    }
}

double Evaluator::function(OpCode code, double a) {
    switch (code) {
        case OpCode::Sin:
            return std::sin(a * kDegree);
        case OpCode::Cos:
            return std::cos(a * kDegree);
        case OpCode::Tan: {
            const double offRight = std::fabs(std::fmod(std::fabs(a), 180.0) - 90.0);
            if (offRight < 1e-9) {
                fail(Code::TanOf90, "TAN[" + formatShort(a) + "] is infinite");
                return 0.0;
            }
            return std::tan(a * kDegree);
        }
        case OpCode::Atan:
            return std::atan(a) / kDegree;
        case OpCode::Sqrt:
            if (a < 0.0) {
                fail(Code::SqrtOfNegative, "SQRT of the negative number " + formatShort(a));
                return 0.0;
            }
            return std::sqrt(a);
        case OpCode::Abs:
            return std::fabs(a);
        case OpCode::Round:
            return std::round(a);
        case OpCode::Fix:
            return std::trunc(a);
        case OpCode::RoundAddress:
            return std::round(a * 1000.0) / 1000.0;
        default:
            return a < 0.0 ? std::floor(a) : std::ceil(a);
    }
}

double Evaluator::binary(OpCode code, double a, double b) {
    switch (code) {
        case OpCode::Add:
            return a + b;
        case OpCode::Sub:
            return a - b;
        case OpCode::Mul:
            return a * b;
        case OpCode::Div:
            if (b == 0.0) {
                fail(Code::DivisionByZero, "division by zero (" + formatShort(a) + "/0)");
                return 0.0;
            }
            return a / b;
        case OpCode::Atan2: {
            const double r = std::atan2(a, b) / kDegree;
            return r < 0.0 ? r + 360.0 : r;
        }
        case OpCode::And:
            return static_cast<double>(bits(a) & bits(b));
        case OpCode::Or:
            return static_cast<double>(bits(a) | bits(b));
        default:
            return static_cast<double>(bits(a) ^ bits(b));
    }
}

// EQ and NE tell vacant from 0; the order comparisons read vacant as 0.
double Evaluator::compare(OpCode code, double a, double b) {
    if (code == OpCode::Eq || code == OpCode::Ne) {
        if (isVacant(a) || isVacant(b)) {
            return (isVacant(a) && isVacant(b)) == (code == OpCode::Eq) ? 1.0 : 0.0;
        }
    }
    a = orZero(a);
    b = orZero(b);
    bool result[2];
    for (const bool exact : {false, true}) {
        switch (code) {
            case OpCode::Eq:
                result[exact] = exact ? a == b : nearlyEqual(a, b);
                break;
            case OpCode::Ne:
                result[exact] = exact ? a != b : !nearlyEqual(a, b);
                break;
            case OpCode::Gt:
                result[exact] = greater(a, b, exact);
                break;
            case OpCode::Ge:
                result[exact] = !greater(b, a, exact);
                break;
            case OpCode::Lt:
                result[exact] = greater(b, a, exact);
                break;
            default:
                result[exact] = !greater(a, b, exact);
                break;
        }
    }
    m_fragile = m_fragile || result[0] != result[1];
    return result[m_exact] ? 1.0 : 0.0;
}

double Evaluator::expression(const Operand& o) {
    double stack[kStackSize];
    int top = -1;
    const Op* op = m_pool.data() + o.first;
    const Op* const end = op + o.count;
    m_work += o.count;
    for (; op != end; ++op) {
        switch (op->code) {
            case OpCode::Const:
                stack[++top] = op->value;
                continue;
            case OpCode::Var:
                stack[++top] = m_vars[op->var];
                continue;
            case OpCode::VarIndirect: {
                const double n = std::round(orZero(stack[top]));
                if (!(n >= 0 && n < kVariableCount) || !isStoredVariable(static_cast<int>(n))) {
                    fail(Code::BadVariable, "#[" + formatShort(stack[top]) + "] is not a variable");
                    return vacant();
                }
                stack[top] = m_vars[static_cast<int>(n)];
                continue;
            }
            case OpCode::Neg:
                stack[top] = -orZero(stack[top]);
                continue;
            case OpCode::Eq:
            case OpCode::Ne:
            case OpCode::Gt:
            case OpCode::Ge:
            case OpCode::Lt:
            case OpCode::Le: {
                const double r = compare(op->code, stack[top - 1], stack[top]);
                stack[--top] = r;
                continue;
            }
            default:
                break;
        }
        if (op->code >= OpCode::Sin && op->code <= OpCode::RoundAddress &&
            op->code != OpCode::Atan2) {
            stack[top] = function(op->code, orZero(stack[top]));
        } else {
            const double r = binary(op->code, orZero(stack[top - 1]), orZero(stack[top]));
            stack[--top] = r;
        }
        if (!m_failed && !std::isfinite(stack[top])) {
            fail(Code::OutOfRange, "a value overflows: the result is too large to compute");
        }
        if (m_failed) {
            return vacant();
        }
    }
    return m_failed ? vacant() : stack[top];
}

}  // namespace tesmara::check
