// What the compiled numeric programs and assignments share (numeric_expr.h):
// their operands as compiled, and how a node reads a number and stores one.
// For numeric_expr.cpp and numeric_assign.cpp only.
#pragma once

#include <cstdint>

#include "script/numeric_expr.h"

namespace script::numeric_run {

using Kind = NumericNode::Kind;
using Operand = NumericNode::Operand;

// ---- operands ----

// The expression inside parentheses and the wrappers of compiled numbers.
inline const Expr* Unwrapped(const Expr* e) {
    while (true) {
        if (auto* p = dynamic_cast<const ParenExpr*>(e)) {
            e = p->inner;
        } else if (auto* n = dynamic_cast<const NumericExpr*>(e)) {
            e = n->tree;
        } else {
            return e;
        }
    }
}

inline Operand NumberOperand(const Value& v) {
    Operand o;
    o.kind = Kind::kNumber;
    o.number = NumberOf(v);
    return o;
}

// A name's operand: a procedure's variable, a global, or a library
// constant that is a number.
inline bool NameOperand(const NameRef& ref, Operand* out) {
    switch (ref.kind) {
        case NameRef::Kind::kLocal:
            out->kind = Kind::kLocal;
            out->local = ref.local;
            return true;
        case NameRef::Kind::kGlobal:
            if (!ref.global) return false;
            out->kind = Kind::kGlobal;
            out->global = ref.global;
            return true;
        case NameRef::Kind::kConstant:
            if (!IsKernelNumber(ref.constant)) return false;
            *out = NumberOperand(ref.constant);
            return true;
        default:
            return false;
    }
}

// A subscript that is a variable or a whole number.
inline bool SubscriptOperand(const Expr* e, Operand* out) {
    e = Unwrapped(e);
    if (e->leaf == Leaf::kLiteral) {
        const Value& v = static_cast<const Literal*>(e)->value;
        if (v.type() != Type::Integer && v.type() != Type::Long) return false;
        *out = NumberOperand(v);
        return true;
    }
    return e->leaf == Leaf::kName && NameOperand(static_cast<const NameExpr*>(e)->ref, out);
}

// ---- reading and storing ----

// The assignment of a number over a value that holds a count, which it
// releases. Out of line, and true, so that a store ends in a jump to it and
// the stores in place need no frame.
[[gnu::noinline]] inline bool AssignOverCount(Value* v, const Value& number) {
    *v = number;
    return true;
}

// Stores number into v: in place when v holds no count. True.
[[gnu::always_inline]] inline bool Store(Value* v, const Value& number) {
    if (v->HoldsCount()) return AssignOverCount(v, number);
    v->OverwriteUncounted(number);
    return true;
}

inline Number GaveUp() {
    Number n;
    n.type = Type::Empty;
    n.whole = 0;
    return n;
}

// a(i) of a one-dimensional array from 0, i a whole number in range, as
// PlainElement in nodes.h reads it. AsArray alone tells an array: it is
// null for every other value.
[[gnu::always_inline]] inline Number ReadElement(const Value& array, const Number& at) {
    Array* a = array.AsArray();
    if (!a || (at.type != Type::Integer && at.type != Type::Long)) return GaveUp();
    const Value* item = FlatItem(a, at.whole);
    return item ? NumberOf(*item) : GaveUp();
}

[[gnu::always_inline]] inline Number ReadLocalElement(const Value& array, const Value& at) {
    return ReadElement(array, NumberOf(at));
}

template <Kind K>
[[gnu::always_inline]] inline Number Read(const Operand& o, Frame& f) {
    if constexpr (K == Kind::kLocal) {
        return NumberOf(*f.slots[o.local]);
    } else if constexpr (K == Kind::kGlobal) {
        return o.global->IsPlainVariable() ? NumberOf(o.global->value) : GaveUp();
    } else if constexpr (K == Kind::kNumber) {
        return o.number;
    } else if constexpr (K == Kind::kLocalElement) {
        return ReadLocalElement(*f.slots[o.local], *f.slots[o.subscript]);
    } else {
        return o.node->run(*o.node, f);
    }
}

// The element to store into: a(i) of a one-dimensional array from 0 that
// is this variable's own (or locked in place), i in range; else null.
inline Value* ElementToWrite(Value* v, const Number& at) {
    Array* a = v->AsArray();
    if (!a || (at.type != Type::Integer && at.type != Type::Long)) return nullptr;
    if (a->RefCount() != 1 && a->locks == 0) return nullptr;
    return FlatItem(a, at.whole);
}

}  // namespace script::numeric_run
