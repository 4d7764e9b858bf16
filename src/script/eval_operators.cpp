// Evaluation of the operators: whole numbers and Doubles by the number
// kernel (number_kernel.h), then the general rules of operators.cpp.
#include <cstdint>

#include "script/nodes.h"

namespace script {

Value UnaryExpr::Eval(Frame& f) const {
    if (op == UnaryOp::kNegate) {
        if (const Value* p = Peek(f, operand)) {
            // -i on a whole number or a Double, the common case, in place.
            if (const Number n = NumberOf(*p); n.type != Type::Empty) return ToValue(Negated(n));
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
    return ApplyBinary(op, a, b, f.rt.host);
}

// One of + - * and the comparisons: numbers are the kernel's, anything
// else the general rules'.
template <BinaryOp Op>
inline Value Quick(Frame& f, const Value& a, const Value& b) {
    if (const Number x = NumberOf(a), y = NumberOf(b);
        x.type != Type::Empty && y.type != Type::Empty) {
        return ToValue(Compute<Op>(x, y));
    }
    return ApplyGeneral(f, Op, a, b);
}

// A comparison tested as a condition makes no value.
template <BinaryOp Op>
inline bool QuickTest(Frame& f, const Value& a, const Value& b) {
    if (const Number x = NumberOf(a), y = NumberOf(b);
        x.type != Type::Empty && y.type != Type::Empty) {
        return Compute<Op>(x, y).whole != 0;
    }
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
    // The left operand's name when the literal is a whole number (Integer
    // or Long), else null; bound later, so its kind is read as it runs.
    const NameRef* wholeLeftName = nullptr;
    bool longLiteral;
    int64_t whole;
    LiteralRightExpr(BinaryOp o, const Expr* l, const Expr* r) : BinaryExpr(o, l, r) {
        const Value& k = static_cast<const Literal*>(r)->value;
        if (WholeValue(k, &whole) && l->leaf == Leaf::kName) {
            wholeLeftName = &static_cast<const NameExpr*>(l)->ref;
        }
        longLiteral = k.type() == Type::Long;
    }
    // The left operand when it is a variable holding a whole number, worked
    // out with the literal.
    bool WholeLeft(Frame& f, Number* out) const {
        if (!wholeLeftName) return false;
        const Value* a = PlainVariable(f, *wholeLeftName);
        int64_t x;
        if (!a || !WholeValue(*a, &x)) return false;
        *out = ComputeWhole<Op>(x, whole, longLiteral || a->type() == Type::Long);
        return true;
    }
    Value Eval(Frame& f) const override {
        if (Number r; WholeLeft(f, &r)) return ToValue(r);
        return EvalOther(f);
    }
    bool Test(Frame& f) const override {
        if constexpr (IsComparison(Op)) {
            if (Number r; WholeLeft(f, &r)) return r.whole != 0;
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
