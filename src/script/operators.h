// VBScript's operators on variants: result subtypes, promotion on overflow
// (Byte -> Integer -> Long -> Double), Null propagation and the treatment of
// Empty. Failures throw ScriptError inside the engine.
#pragma once

#include "script/host.h"
#include "script/number_kernel.h"
#include "script/value.h"

namespace script {

Value Add(const Value& a, const Value& b);
Value Subtract(const Value& a, const Value& b);
Value Multiply(const Value& a, const Value& b);
Value Divide(const Value& a, const Value& b);
Value IntDivide(const Value& a, const Value& b);
Value Modulo(const Value& a, const Value& b);
Value Power(const Value& a, const Value& b);
Value Negate(const Value& a);
Value Concat(const Value& a, const Value& b, const Host& host);
// Appends b's text to a string a in place (a is String already).
void AppendText(Value* a, const Value& b, const Host& host);

enum class CompareOp { kEq, kNe, kLt, kGt, kLe, kGe };
// Boolean, or Null when either side is Null.
Value Compare(CompareOp op, const Value& a, const Value& b);
// -1, 0 or 1; *isNull set when either side is Null (then the result is 0).
int CompareValues(const Value& a, const Value& b, bool textCompare, bool* isNull);

Value Not(const Value& a);
Value And(const Value& a, const Value& b);
Value Or(const Value& a, const Value& b);
Value Xor(const Value& a, const Value& b);
Value Eqv(const Value& a, const Value& b);
Value Imp(const Value& a, const Value& b);
// Object identity; both sides must be objects (or Nothing).
bool Is(const Value& a, const Value& b);

// The general rules of every binary operator but Is, on plain values: the
// evaluator's one call for them all, inlined there.
[[gnu::always_inline]] inline Value ApplyBinary(BinaryOp op, const Value& a, const Value& b,
                                                const Host& host) {
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

}  // namespace script
