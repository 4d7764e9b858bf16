// The number kernel: + - * and the comparisons on Integers, Longs and
// Doubles, the kinds that loops, sums and counters hold, defined once. Every
// path that works them out without the general conversions calls these: the
// general rules' own first case (operators.cpp), the quick evaluator
// (eval_operators.cpp), the numeric programs (numeric_expr.cpp) and a For
// loop's step (exec.cpp), so that they cannot differ in a result, a type or
// an error. A whole result is the smallest of Integer (unless a Long took
// part), Long and Double that holds it; a Double that overflows is error 6.
// Everything here inlines: these are the inner steps of the engine's loops.
#pragma once

#include <cmath>
#include <cstdint>

#include "script/errors.h"
#include "script/value.h"

namespace script {

enum class BinaryOp {
    kAdd,
    kSub,
    kMul,
    kDiv,
    kIntDiv,
    kMod,
    kPow,
    kConcat,
    kEq,
    kNe,
    kLt,
    kGt,
    kLe,
    kGe,
    kIs,
    kAnd,
    kOr,
    kXor,
    kEqv,
    kImp,
};

constexpr bool IsArithmetic(BinaryOp op) {
    return op == BinaryOp::kAdd || op == BinaryOp::kSub || op == BinaryOp::kMul;
}

constexpr bool IsComparison(BinaryOp op) {
    return op == BinaryOp::kEq || op == BinaryOp::kNe || op == BinaryOp::kLt ||
           op == BinaryOp::kGt || op == BinaryOp::kLe || op == BinaryOp::kGe;
}

// A number as the kernel sees it: an Integer or a Long (in whole), a Double
// (in real), or a comparison's Boolean (whole is 0 or 1). Empty when the
// value it was read from is none of these, for the general rules.
struct Number {
    Type type;
    union {
        int64_t whole;
        double real;
    };
};

// Whether v holds a number the kernel reads (an Integer, a Long or a
// Double), as NumberOf tells it, with one test.
[[gnu::always_inline]] inline bool IsKernelNumber(const Value& v) {
    constexpr uint32_t kKernelTypes = 1u << static_cast<int>(Type::Integer) |
                                      1u << static_cast<int>(Type::Long) |
                                      1u << static_cast<int>(Type::Double);
    const auto t = static_cast<uint32_t>(v.type());
    return t < 32 && ((kKernelTypes >> t) & 1) != 0;
}

[[gnu::always_inline]] inline Number NumberOf(const Value& v) {
    Number n;
    n.type = v.type();
    if (n.type == Type::Long) {
        n.whole = v.AsLong();
    } else if (n.type == Type::Integer) {
        n.whole = v.AsInteger();
    } else if (n.type == Type::Double) {
        n.real = v.AsDouble();
    } else {
        n.type = Type::Empty;
        n.whole = 0;
    }
    return n;
}

[[gnu::always_inline]] inline Value ToValue(const Number& n) {
    switch (n.type) {
        case Type::Integer:
            return Value::Integer(static_cast<int16_t>(n.whole));
        case Type::Long:
            return Value::Long(static_cast<int32_t>(n.whole));
        case Type::Double:
            return Value::Double(n.real);
        default:
            return Value::Boolean(n.whole != 0);
    }
}

// The number an Integer or a Long holds; false for any other value.
[[gnu::always_inline]] inline bool WholeValue(const Value& v, int64_t* whole) {
    const Number n = NumberOf(v);
    if (n.type != Type::Integer && n.type != Type::Long) return false;
    *whole = n.whole;
    return true;
}

// A number (not Empty) as a Double.
[[gnu::always_inline]] inline double RealOf(const Number& n) {
    return n.type == Type::Double ? n.real : static_cast<double>(n.whole);
}

// A whole result r as the smallest of Integer (unless a Long took part),
// Long and Double that holds it. Its operands fit a Long: r cannot overflow.
[[gnu::always_inline]] inline Number WholeNumber(int64_t r, bool isLong) {
    Number n;
    if (!isLong && r >= INT16_MIN && r <= INT16_MAX) {
        n.type = Type::Integer;
        n.whole = r;
    } else if (r >= INT32_MIN && r <= INT32_MAX) {
        n.type = Type::Long;
        n.whole = r;
    } else {
        n.type = Type::Double;
        n.real = static_cast<double>(r);
    }
    return n;
}

// A Double result: error 6 when it overflowed, as a script has no infinity.
[[gnu::always_inline]] inline Number RealNumber(double r) {
    if (!std::isfinite(r)) Throw(kErrOverflow);
    Number n;
    n.type = Type::Double;
    n.real = r;
    return n;
}

template <BinaryOp Op, typename T>
[[gnu::always_inline]] constexpr T Arithmetic(T x, T y) {
    static_assert(IsArithmetic(Op));
    if constexpr (Op == BinaryOp::kAdd) return x + y;
    if constexpr (Op == BinaryOp::kSub) return x - y;
    return x * y;
}

template <BinaryOp Op, typename T>
[[gnu::always_inline]] constexpr bool Compared(T x, T y) {
    static_assert(IsComparison(Op));
    if constexpr (Op == BinaryOp::kEq) return x == y;
    if constexpr (Op == BinaryOp::kNe) return x != y;
    if constexpr (Op == BinaryOp::kLt) return x < y;
    if constexpr (Op == BinaryOp::kGt) return x > y;
    if constexpr (Op == BinaryOp::kLe) return x <= y;
    return x >= y;
}

[[gnu::always_inline]] inline Number Truth(bool b) {
    Number n;
    n.type = Type::Boolean;
    n.whole = b;
    return n;
}

// x op y for whole x and y, isLong when either was a Long.
template <BinaryOp Op>
[[gnu::always_inline]] inline Number ComputeWhole(int64_t x, int64_t y, bool isLong) {
    if constexpr (IsComparison(Op)) {
        return Truth(Compared<Op>(x, y));
    } else {
        return WholeNumber(Arithmetic<Op>(x, y), isLong);
    }
}

// a op b, a and b numbers (not Empty): whole unless a Double took part.
template <BinaryOp Op>
[[gnu::always_inline]] inline Number Compute(const Number& a, const Number& b) {
    if (a.type != Type::Double && b.type != Type::Double) {
        return ComputeWhole<Op>(a.whole, b.whole, a.type == Type::Long || b.type == Type::Long);
    }
    const double x = RealOf(a), y = RealOf(b);
    if constexpr (IsComparison(Op)) {
        return Truth(Compared<Op>(x, y));
    } else {
        return RealNumber(Arithmetic<Op>(x, y));
    }
}

// -a: the edges (-(-32768), -(-2147483648)) widen as a sum would.
[[gnu::always_inline]] inline Number Negated(const Number& a) {
    if (a.type != Type::Double) return WholeNumber(-a.whole, a.type == Type::Long);
    Number n = a;
    n.real = -a.real;
    return n;
}

}  // namespace script
