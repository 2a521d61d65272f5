#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <utility>

#include "check/compiled.hpp"

namespace tesmara::check {

// Vacant is NaN: a vacant variable read bare keeps it, arithmetic reads it as 0.
inline double vacant() {
    return std::nan("");
}
inline bool isVacant(double v) {
    return v != v;
}
inline double orZero(double v) {
    return v != v ? 0.0 : v;
}

struct Fault {
    Code code = Code::Syntax;
    std::string message;
};

// Runs expression code over the flat variable array. On a fault it sets
// `fault` and gives NaN; callers check `failed()` once per block.
class Evaluator {
public:
    // `exact`: compare as a control that compares the binary values exactly.
    Evaluator(const std::vector<Op>& pool, const double* vars, bool exact = false)
        : m_pool(pool), m_vars(vars), m_exact(exact) {}

    double operand(const Operand& o) {
        switch (o.kind) {
            case Operand::Kind::Const:
                return o.value;
            case Operand::Kind::Var:
                return m_vars[o.var];
            case Operand::Kind::NegVar:
                return -orZero(m_vars[o.var]);
            case Operand::Kind::Expr:
                break;
        }
        return expression(o);
    }

    bool failed() const { return m_failed; }
    const Fault& fault() const { return m_fault; }
    void clear() { m_failed = false; }

    // Whether a comparison since the last call came out differently exactly
    // and with the tolerance; cleared by reading it.
    bool takeFragile() { return std::exchange(m_fragile, false); }
    // Expression operations run so far: long expressions count towards the
    // limit of a run, not only the blocks they sit in.
    std::int64_t work() const { return m_work; }

private:
    double expression(const Operand& o);
    double function(OpCode code, double a);
    double binary(OpCode code, double a, double b);
    double compare(OpCode code, double a, double b);
    void fail(Code code, std::string message);

    const std::vector<Op>& m_pool;
    const double* m_vars;
    bool m_exact;
    bool m_failed = false;
    bool m_fragile = false;
    std::int64_t m_work = 0;
    Fault m_fault;
};

// Relative tolerance of comparisons, so a depth summed up from 0.1 steps
// equals the final depth.
bool nearlyEqual(double a, double b);

}  // namespace tesmara::check
