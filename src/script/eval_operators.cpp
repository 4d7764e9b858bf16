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
    if (op == UnaryOp::kNegate) {
        if (const Value* p = Peek(f, operand)) {
            // -i on a whole number or a Double, the common case, in place.
            if (p->type() == Type::Long && p->AsLong() != INT32_MIN)
                return Value::Long(-p->AsLong());
            if (p->type() == Type::Integer && p->AsInteger() != INT16_MIN) {
                return Value::Integer(static_cast<int16_t>(-p->AsInteger()));
            }
            if (p->type() == Type::Double) return Value::Double(-p->AsDouble());
        }
    }
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

namespace {

// Both operands evaluated, left first, and handed to use. A literal or a
// variable is read in place when nothing evaluated after it can change it:
// always for the right operand, and for the left one when the right one is
// a leaf too. What an operand's evaluation gives is made where it stays.
template <typename Use>
inline auto WithOperands(Frame& f, const Expr* left, const Expr* right, Use use) {
    if (const Value* a = Peek(f, left)) {
        if (const Value* b = Peek(f, right)) return use(*a, *b);
        const Value copy = *a;
        f.rt.CheckStack();
        const Value b = right->Eval(f);
        return use(copy, b);
    }
    f.rt.CheckStack();
    const Value a = left->Eval(f);
    if (const Value* b = Peek(f, right)) return use(a, *b);
    const Value b = right->Eval(f);
    return use(a, b);
}

// The operators off the fast paths: objects give their default values.
[[gnu::noinline]] Value ApplyGeneral(Frame& f, BinaryOp op, const Value& a0, const Value& b0) {
    if (op == BinaryOp::kIs) return Value::Boolean(Is(a0, b0));
    // Both are copied before either default member runs: the operands may
    // be read in place, and that code may change or free what they point to
    // (a variable, an element of an array it ReDims).
    Value a = a0, b = b0;
    if (a.IsObject()) a = Dereference(f.rt, std::move(a));
    if (b.IsObject()) b = Dereference(f.rt, std::move(b));
    return Apply(op, a, b, f.rt.host);
}

// An Integer, Long or Double as a Double.
double AsNumber(const Value& v) {
    switch (v.type()) {
        case Type::Integer:
            return v.AsInteger();
        case Type::Long:
            return v.AsLong();
        default:
            return v.AsDouble();
    }
}

int32_t AsWhole(const Value& v) {
    return v.type() == Type::Integer ? v.AsInteger() : v.AsLong();
}

bool IsNumberFast(Type t) {
    return t == Type::Double || IsIntegerOrLong(t);
}

// One of + - * and the comparisons: whole numbers and Doubles are worked
// out inline, without the general rules' conversions, with their results.
template <BinaryOp Op>
inline Value Quick(Frame& f, const Value& a, const Value& b) {
    const Type ta = a.type(), tb = b.type();
    if (IsIntegerOrLong(ta) && IsIntegerOrLong(tb)) {
        const int64_t x = AsWhole(a), y = AsWhole(b);
        const bool isLong = ta == Type::Long || tb == Type::Long;
        if constexpr (Op == BinaryOp::kAdd) return FitWhole(x + y, isLong);
        if constexpr (Op == BinaryOp::kSub) return FitWhole(x - y, isLong);
        if constexpr (Op == BinaryOp::kMul) return FitWhole(x * y, isLong);
        if constexpr (IsComparison(Op)) return Value::Boolean(Compared<Op>(x, y));
    }
    if ((ta == Type::Double || tb == Type::Double) && IsNumberFast(ta) && IsNumberFast(tb)) {
        const double x = AsNumber(a), y = AsNumber(b);
        if constexpr (IsComparison(Op)) {
            return Value::Boolean(Compared<Op>(x, y));
        } else {
            double r = 0;
            if constexpr (Op == BinaryOp::kAdd) r = x + y;
            if constexpr (Op == BinaryOp::kSub) r = x - y;
            if constexpr (Op == BinaryOp::kMul) r = x * y;
            if (!std::isfinite(r)) Throw(kErrOverflow);
            return Value::Double(r);
        }
    }
    return ApplyGeneral(f, Op, a, b);
}

// A comparison tested as a condition makes no value.
template <BinaryOp Op>
inline bool QuickTest(Frame& f, const Value& a, const Value& b) {
    const Type ta = a.type(), tb = b.type();
    if (IsIntegerOrLong(ta) && IsIntegerOrLong(tb)) return Compared<Op>(AsWhole(a), AsWhole(b));
    if (IsNumberFast(ta) && IsNumberFast(tb)) return Compared<Op>(AsNumber(a), AsNumber(b));
    // A comparison gives a Boolean, or Null (False here).
    const Value r = ApplyGeneral(f, Op, a, b);
    return r.type() == Type::Boolean && r.AsBoolean();
}

// Two leaves are worked out inline; anything else takes a call more.
template <BinaryOp Op>
struct FastBinaryExpr : BinaryExpr {
    using BinaryExpr::BinaryExpr;
    Value Eval(Frame& f) const override {
        if (const Value* a = Peek(f, left)) {
            if (const Value* b = Peek(f, right)) return Quick<Op>(f, *a, *b);
        }
        return WithOperands(f, left, right,
                            [&f](const Value& a, const Value& b) { return Apply(f, a, b); });
    }
    bool Test(Frame& f) const override {
        if constexpr (IsComparison(Op)) {
            return WithOperands(f, left, right, [&f](const Value& a, const Value& b) {
                return QuickTest<Op>(f, a, b);
            });
        }
        return BinaryExpr::Test(f);
    }

  private:
    [[gnu::noinline]] static Value Apply(Frame& f, const Value& a, const Value& b) {
        return Quick<Op>(f, a, b);
    }
};

// Two operands that are neither literals nor variables (Fib(n - 1) +
// Fib(n - 2)): there is nothing to read in place, so no look is taken.
template <BinaryOp Op>
struct ComputedBinaryExpr : BinaryExpr {
    using BinaryExpr::BinaryExpr;
    Value Eval(Frame& f) const override {
        return WithComputed(f, [&f](const Value& a, const Value& b) { return Quick<Op>(f, a, b); });
    }
    bool Test(Frame& f) const override {
        if constexpr (IsComparison(Op)) {
            return WithComputed(
                f, [&f](const Value& a, const Value& b) { return QuickTest<Op>(f, a, b); });
        }
        return BinaryExpr::Test(f);
    }

  private:
    template <typename Use>
    auto WithComputed(Frame& f, Use use) const {
        f.rt.CheckStack();
        const Value a = left->Eval(f);
        const Value b = right->Eval(f);
        return use(a, b);
    }
};

// The same with a literal on the right (i * 2, n < 2, n - 1), the usual
// shape: the literal is read where it lies, with no test of what it is. A
// whole-number literal and a variable holding a whole number, the commonest
// case of all, are worked out first, and everything else is left to a call
// of its own, so that the common case needs no registers saved.
template <BinaryOp Op>
struct LiteralRightExpr : BinaryExpr {
    // The literal when it is a whole number (Integer or Long).
    bool wholeLiteral;
    bool longLiteral;
    int64_t whole;
    LiteralRightExpr(BinaryOp o, const Expr* l, const Expr* r) : BinaryExpr(o, l, r) {
        const Value& k = static_cast<const Literal*>(r)->value;
        wholeLiteral = IsIntegerOrLong(k.type());
        longLiteral = k.type() == Type::Long;
        whole = wholeLiteral ? AsWhole(k) : 0;
    }
    // The left operand when it is a variable holding a whole number.
    const Value* WholeLeft(Frame& f) const {
        if (!wholeLiteral || left->leaf != Leaf::kName) return nullptr;
        const Value* a = PlainVariable(f, static_cast<const NameExpr*>(left)->ref);
        return a && IsIntegerOrLong(a->type()) ? a : nullptr;
    }
    Value Eval(Frame& f) const override {
        if (const Value* a = WholeLeft(f)) {
            const int64_t x = AsWhole(*a);
            const bool isLong = longLiteral || a->type() == Type::Long;
            if constexpr (Op == BinaryOp::kAdd) return FitWhole(x + whole, isLong);
            if constexpr (Op == BinaryOp::kSub) return FitWhole(x - whole, isLong);
            if constexpr (Op == BinaryOp::kMul) return FitWhole(x * whole, isLong);
            if constexpr (IsComparison(Op)) return Value::Boolean(Compared<Op>(x, whole));
        }
        return EvalOther(f);
    }
    bool Test(Frame& f) const override {
        if constexpr (IsComparison(Op)) {
            if (const Value* a = WholeLeft(f)) return Compared<Op>(int64_t{AsWhole(*a)}, whole);
            return TestOther(f);
        }
        return BinaryExpr::Test(f);
    }
    [[gnu::noinline]] Value EvalOther(Frame& f) const {
        const Value& k = static_cast<const Literal*>(right)->value;
        if (const Value* a = Peek(f, left)) return Quick<Op>(f, *a, k);
        f.rt.CheckStack();
        const Value a = left->Eval(f);
        return Quick<Op>(f, a, k);
    }
    [[gnu::noinline]] bool TestOther(Frame& f) const {
        const Value& k = static_cast<const Literal*>(right)->value;
        if (const Value* a = Peek(f, left)) return QuickTest<Op>(f, *a, k);
        f.rt.CheckStack();
        const Value a = left->Eval(f);
        return QuickTest<Op>(f, a, k);
    }
};

template <BinaryOp Op>
const BinaryExpr* MakeFast(Unit& unit, const Expr* left, const Expr* right) {
    if (right->leaf == Leaf::kLiteral) return unit.Make<LiteralRightExpr<Op>>(Op, left, right);
    if (left->leaf == Leaf::kNone && right->leaf == Leaf::kNone) {
        return unit.Make<ComputedBinaryExpr<Op>>(Op, left, right);
    }
    return unit.Make<FastBinaryExpr<Op>>(Op, left, right);
}

}  // namespace

Value BinaryExpr::Eval(Frame& f) const {
    return WithOperands(f, left, right,
                        [&](const Value& a, const Value& b) { return ApplyGeneral(f, op, a, b); });
}

const BinaryExpr* MakeBinaryExpr(Unit& unit, BinaryOp op, const Expr* left, const Expr* right) {
    switch (op) {
        case BinaryOp::kAdd:
            return MakeFast<BinaryOp::kAdd>(unit, left, right);
        case BinaryOp::kSub:
            return MakeFast<BinaryOp::kSub>(unit, left, right);
        case BinaryOp::kMul:
            return MakeFast<BinaryOp::kMul>(unit, left, right);
        case BinaryOp::kEq:
            return MakeFast<BinaryOp::kEq>(unit, left, right);
        case BinaryOp::kNe:
            return MakeFast<BinaryOp::kNe>(unit, left, right);
        case BinaryOp::kLt:
            return MakeFast<BinaryOp::kLt>(unit, left, right);
        case BinaryOp::kGt:
            return MakeFast<BinaryOp::kGt>(unit, left, right);
        case BinaryOp::kLe:
            return MakeFast<BinaryOp::kLe>(unit, left, right);
        case BinaryOp::kGe:
            return MakeFast<BinaryOp::kGe>(unit, left, right);
        default:
            return unit.Make<BinaryExpr>(op, left, right);
    }
}

}  // namespace script
