// VBScript's operators on variants: result subtypes, promotion on overflow
// (Byte -> Integer -> Long -> Double), Null propagation and the treatment of
// Empty. Failures throw ScriptError inside the engine.
#pragma once

#include "script/host.h"
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

}  // namespace script
