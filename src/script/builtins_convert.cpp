// Conversion and inspection functions: CStr and friends, Hex/Oct, the Is*
// tests, VarType and TypeName.
#include "script/builtins.h"
#include "script/convert.h"
#include "script/dates.h"
#include "script/nodes.h"

namespace script {
namespace {

// The conversion functions refuse Null with "Invalid use of Null".
const Value& Plain(Frame& f, Value* a) {
    if (a[0].IsObject()) a[0] = Dereference(f.rt, a[0]);
    if (a[0].IsNull()) Throw(kErrInvalidNull);
    return a[0];
}

Value CStr(Frame& f, Value* a, int) {
    return Value::String(ToString(Plain(f, a), f.rt.host));
}
Value CInt(Frame& f, Value* a, int) {
    return Value::Integer(ToInteger(Plain(f, a)));
}
Value CLng(Frame& f, Value* a, int) {
    return Value::Long(ToLong(Plain(f, a)));
}
Value CByte(Frame& f, Value* a, int) {
    return Value::Byte(ToByte(Plain(f, a)));
}
Value CSng(Frame& f, Value* a, int) {
    return Value::Single(ToSingle(Plain(f, a)));
}
Value CCur(Frame& f, Value* a, int) {
    return Value::Currency(ToCurrency(Plain(f, a)));
}
Value CBool(Frame& f, Value* a, int) {
    return Value::Boolean(ToBoolean(Plain(f, a)));
}
Value CDate(Frame& f, Value* a, int) {
    return Value::Date(ToDate(Plain(f, a), f.rt.host));
}

Value CDbl(Frame& f, Value* a, int) {
    const double d = ToDouble(Plain(f, a));
    return Value::Double(d);
}

std::string Radix(uint32_t v, int bits) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out;
    const uint32_t mask = (1u << bits) - 1;
    do {
        out.insert(out.begin(), kDigits[v & mask]);
        v >>= bits;
    } while (v != 0);
    return out;
}

Value RadixText(Value* a, int bits) {
    if (a[0].IsNull()) return Value::Null();
    const Value& v = a[0];
    uint32_t n;
    if (v.type() == Type::Integer || v.type() == Type::Boolean || v.IsEmpty()) {
        n = static_cast<uint16_t>(ToInteger(v));
    } else if (v.type() == Type::Byte) {
        n = v.AsByte();
    } else {
        n = static_cast<uint32_t>(ToLong(v));
    }
    return Value::String(Radix(n, bits));
}

Value Hex(Frame&, Value* a, int) {
    return RadixText(a, 4);
}
Value Oct(Frame&, Value* a, int) {
    return RadixText(a, 3);
}

Value IsNumeric(Frame& f, Value* a, int) {
    Value v = a[0].IsObject() ? Dereference(f.rt, a[0]) : a[0];
    switch (v.type()) {
        case Type::Empty:
        case Type::Boolean:
            return Value::Boolean(true);
        case Type::String: {
            double d;
            try {
                return Value::Boolean(ParseNumber(v.AsString(), &d));
            } catch (const ScriptError&) {
                return Value::Boolean(false);
            }
        }
        default:
            return Value::Boolean(v.IsNumber());
    }
}

Value IsDate(Frame& f, Value* a, int) {
    if (a[0].type() == Type::Date) return Value::Boolean(true);
    double d;
    if (a[0].IsString()) return Value::Boolean(f.rt.host.ParseDate(a[0].AsString(), &d));
    return Value::Boolean(false);
}

Value IsEmptyFn(Frame&, Value* a, int) {
    return Value::Boolean(a[0].IsEmpty());
}
Value IsNullFn(Frame&, Value* a, int) {
    return Value::Boolean(a[0].IsNull());
}
Value IsObjectFn(Frame&, Value* a, int) {
    return Value::Boolean(a[0].IsObject());
}
Value IsArrayFn(Frame&, Value* a, int) {
    return Value::Boolean(a[0].IsArray());
}

Value VarTypeFn(Frame&, Value* a, int) {
    return Value::Integer(static_cast<int16_t>(static_cast<int>(a[0].type())));
}

Value TypeNameFn(Frame&, Value* a, int) {
    return Value::String(TypeName(a[0]));
}

const Builtin kTable[] = {
    {"cstr", 1, 1, CStr, kPure},
    {"cint", 1, 1, CInt, kPure},
    {"clng", 1, 1, CLng, kPure},
    {"cbyte", 1, 1, CByte, kPure},
    {"csng", 1, 1, CSng, kPure},
    {"cdbl", 1, 1, CDbl, kPure},
    {"ccur", 1, 1, CCur, kPure},
    {"cbool", 1, 1, CBool, kPure},
    {"cdate", 1, 1, CDate, kPure},
    {"hex", 1, 1, Hex, kPure},
    {"oct", 1, 1, Oct, kPure},
    {"isnumeric", 1, 1, IsNumeric, kPure},
    {"isdate", 1, 1, IsDate, kPure},
    {"isempty", 1, 1, IsEmptyFn, kPure},
    {"isnull", 1, 1, IsNullFn, kPure},
    {"isobject", 1, 1, IsObjectFn, kPure},
    {"isarray", 1, 1, IsArrayFn, kPure},
    {"vartype", 1, 1, VarTypeFn, kPure},
    {"typename", 1, 1, TypeNameFn, kPure},
};

}  // namespace

BuiltinTable ConversionBuiltins() {
    return {kTable, std::size(kTable)};
}

}  // namespace script
