#pragma once

#include <cmath>
#include <string>

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
    Evaluator(const std::vector<Op>& pool, const double* vars) : m_pool(pool), m_vars(vars) {}

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

private:
    double expression(const Operand& o);
    double function(OpCode code, double a);
    double binary(OpCode code, double a, double b);
    void fail(Code code, std::string message);

    const std::vector<Op>& m_pool;
    const double* m_vars;
    bool m_failed = false;
    Fault m_fault;
};

// Relative tolerance of comparisons, so a depth summed up from 0.1 steps
// equals the final depth.
bool nearlyEqual(double a, double b);

}  // namespace tesmara::check
