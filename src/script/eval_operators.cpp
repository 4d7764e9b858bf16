// Evaluation of the operators: fast paths for whole numbers and Doubles,
// then the general rules of operators.cpp.
#include <cmath>
#include <cstdint>

#include "script/nodes.h"

namespace script {
namespace {

bool IsIntegerOrLong(Type t) {
    return t == Type::Integer || t == Type::Long;
}

// The smallest of Integer (unless a Long took part), Long and Double that
// holds r, as the operators widen.
Value FitWhole(int64_t r, bool isLong) {
    if (!isLong && r >= -32768 && r <= 32767) return Value::Integer(static_cast<int16_t>(r));
    if (r >= INT32_MIN && r <= INT32_MAX) return Value::Long(static_cast<int32_t>(r));
    return Value::Double(static_cast<double>(r));
}

// Sums that outgrew a Long are Doubles; mixed with Integers and Longs they
// stay Doubles. Overflow to infinity is an error, as in the general rules.
bool DoubleFastPath(BinaryOp op, const Value& a, const Value& b, Value* out) {
    const Type ta = a.type(), tb = b.type();
    const bool da = ta == Type::Double, db = tb == Type::Double;
    if (!(da || db) || !(da || IsIntegerOrLong(ta)) || !(db || IsIntegerOrLong(tb))) return false;
    const double x = da ? a.AsDouble() : (ta == Type::Integer ? a.AsInteger() : a.AsLong());
    const double y = db ? b.AsDouble() : (tb == Type::Integer ? b.AsInteger() : b.AsLong());
    double r;
    switch (op) {
        case BinaryOp::kAdd:
            r = x + y;
            break;
        case BinaryOp::kSub:
            r = x - y;
            break;
        case BinaryOp::kMul:
            r = x * y;
            break;
        default:
            return false;
    }
    if (!std::isfinite(r)) Throw(kErrOverflow);
    *out = Value::Double(r);
    return true;
}

// Counters, indexes and recursion arguments are Integers and Longs: their
// sums, differences, products and comparisons skip the general rules, with
// the same results.
bool IntegerFastPath(BinaryOp op, const Value& a, const Value& b, Value* out) {
    const Type ta = a.type(), tb = b.type();
    if (!IsIntegerOrLong(ta) || !IsIntegerOrLong(tb)) {
        return DoubleFastPath(op, a, b, out);
    }
    const int64_t x = ta == Type::Integer ? a.AsInteger() : a.AsLong();
    const int64_t y = tb == Type::Integer ? b.AsInteger() : b.AsLong();
    const bool isLong = ta == Type::Long || tb == Type::Long;
    switch (op) {
        case BinaryOp::kAdd:
            *out = FitWhole(x + y, isLong);
            return true;
        case BinaryOp::kSub:
            *out = FitWhole(x - y, isLong);
            return true;
        case BinaryOp::kMul:
            *out = FitWhole(x * y, isLong);
            return true;
        case BinaryOp::kEq:
            *out = Value::Boolean(x == y);
            return true;
        case BinaryOp::kNe:
            *out = Value::Boolean(x != y);
            return true;
        case BinaryOp::kLt:
            *out = Value::Boolean(x < y);
            return true;
        case BinaryOp::kGt:
            *out = Value::Boolean(x > y);
            return true;
        case BinaryOp::kLe:
            *out = Value::Boolean(x <= y);
            return true;
        case BinaryOp::kGe:
            *out = Value::Boolean(x >= y);
            return true;
        default:
            return false;
    }
}

// The general rules of every operator but Is, on plain values.
Value Apply(BinaryOp op, const Value& a, const Value& b, const Host& host) {
    switch (op) {
        case BinaryOp::kAdd:
            return Add(a, b);
        case BinaryOp::kSub:
            return Subtract(a, b);
        case BinaryOp::kMul:
            return Multiply(a, b);
        case BinaryOp::kDiv:
            return Divide(a, b);
        case BinaryOp::kIntDiv:
            return IntDivide(a, b);
        case BinaryOp::kMod:
            return Modulo(a, b);
        case BinaryOp::kPow:
            return Power(a, b);
        case BinaryOp::kConcat:
            return Concat(a, b, host);
        case BinaryOp::kEq:
            return Compare(CompareOp::kEq, a, b);
        case BinaryOp::kNe:
            return Compare(CompareOp::kNe, a, b);
        case BinaryOp::kLt:
            return Compare(CompareOp::kLt, a, b);
        case BinaryOp::kGt:
            return Compare(CompareOp::kGt, a, b);
        case BinaryOp::kLe:
            return Compare(CompareOp::kLe, a, b);
        case BinaryOp::kGe:
            return Compare(CompareOp::kGe, a, b);
        case BinaryOp::kAnd:
            return And(a, b);
        case BinaryOp::kOr:
            return Or(a, b);
        case BinaryOp::kXor:
            return Xor(a, b);
        case BinaryOp::kEqv:
            return Eqv(a, b);
        case BinaryOp::kImp:
            return Imp(a, b);
        case BinaryOp::kIs:
            break;
    }
    return Value();
}

}  // namespace

Value UnaryExpr::Eval(Frame& f) const {
    f.rt.CheckStack();
    Value v = operand->Eval(f);
    if (v.IsObject()) v = Dereference(f.rt, std::move(v));
    switch (op) {
        case UnaryOp::kNegate:
            return Negate(v);
        case UnaryOp::kNot:
            return Not(v);
        case UnaryOp::kPlus:
            break;
    }
    return v;
}

Value BinaryExpr::Eval(Frame& f) const {
    f.rt.CheckStack();
    Value a = left->Eval(f);
    Value b = right->Eval(f);
    Value fast;
    if (IntegerFastPath(op, a, b, &fast)) return fast;
    if (op == BinaryOp::kIs) return Value::Boolean(Is(a, b));
    if (a.IsObject()) a = Dereference(f.rt, std::move(a));
    if (b.IsObject()) b = Dereference(f.rt, std::move(b));
    return Apply(op, a, b, f.rt.host);
}

}  // namespace script
