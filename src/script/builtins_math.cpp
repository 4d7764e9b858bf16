// Numeric functions: Int/Fix/Abs/Round keep the argument's subtype; the
// transcendental ones return Double; Rnd is VBScript's own generator so
// seeded sequences repeat as scripts expect.
#include <cmath>
#include <cstring>

#include "script/builtins.h"
#include "script/convert.h"
#include "script/nodes.h"

namespace script {
namespace {

Value Numeric(Frame& f, const Value& v) {
    return ToNumeric(Dereference(f.rt, v));
}

// Applies a rounding to a number keeping its subtype.
template <typename Fn>
Value KeepType(const Value& v, Fn round) {
    switch (v.type()) {
        case Type::Null:
        case Type::Byte:
        case Type::Integer:
        case Type::Long:
            return v;
        case Type::Single:
            return Value::Single(static_cast<float>(round(v.AsSingle())));
        case Type::Currency:
            return Value::Currency(static_cast<int64_t>(round(v.AsCurrency() / 10000.0)) * 10000);
        case Type::Date:
            return Value::Date(round(v.AsDate()));
        default:
            return Value::Double(round(v.AsDouble()));
    }
}

Value IntFn(Frame& f, Value* a, int) {
    return KeepType(Numeric(f, a[0]), [](double d) { return std::floor(d); });
}

Value FixFn(Frame& f, Value* a, int) {
    return KeepType(Numeric(f, a[0]), [](double d) { return std::trunc(d); });
}

Value AbsFn(Frame& f, Value* a, int) {
    const Value v = Numeric(f, a[0]);
    switch (v.type()) {
        case Type::Null:
        case Type::Byte:
            return v;
        case Type::Integer:
            return v.AsInteger() < 0 ? Negate(v) : v;
        case Type::Long:
            return v.AsLong() < 0 ? Negate(v) : v;
        case Type::Single:
            return Value::Single(std::fabs(v.AsSingle()));
        case Type::Currency:
            return v.AsCurrency() < 0 ? Negate(v) : v;
        case Type::Date:
            return Value::Date(std::fabs(v.AsDate()));
        default:
            return Value::Double(std::fabs(v.AsDouble()));
    }
}

Value Checked(double d) {
    if (!std::isfinite(d)) Throw(kErrOverflow);
    return Value::Double(d);
}

double Arg(Frame& f, const Value& v) {
    const Value n = Numeric(f, v);
    if (n.IsNull()) Throw(kErrInvalidNull);
    return ToDouble(n);
}

Value Sqr(Frame& f, Value* a, int) {
    if (a[0].IsNull()) return Value::Null();
    const double d = Arg(f, a[0]);
    if (d < 0) Throw(kErrInvalidCall);
    return Value::Double(std::sqrt(d));
}

Value Sgn(Frame& f, Value* a, int) {
    if (a[0].IsNull()) return Value::Null();
    const double d = Arg(f, a[0]);
    return Value::Integer(static_cast<int16_t>(d > 0 ? 1 : (d < 0 ? -1 : 0)));
}

Value Atn(Frame& f, Value* a, int) {
    if (a[0].IsNull()) return Value::Null();
    return Value::Double(std::atan(Arg(f, a[0])));
}
Value Cos(Frame& f, Value* a, int) {
    if (a[0].IsNull()) return Value::Null();
    return Value::Double(std::cos(Arg(f, a[0])));
}
Value Sin(Frame& f, Value* a, int) {
    if (a[0].IsNull()) return Value::Null();
    return Value::Double(std::sin(Arg(f, a[0])));
}
Value Tan(Frame& f, Value* a, int) {
    if (a[0].IsNull()) return Value::Null();
    return Value::Double(std::tan(Arg(f, a[0])));
}
Value Exp(Frame& f, Value* a, int) {
    if (a[0].IsNull()) return Value::Null();
    return Checked(std::exp(Arg(f, a[0])));
}
Value Log(Frame& f, Value* a, int) {
    if (a[0].IsNull()) return Value::Null();
    const double d = Arg(f, a[0]);
    if (d <= 0) Throw(kErrInvalidCall);
    return Value::Double(std::log(d));
}

Value Round(Frame& f, Value* a, int n) {
    const Value v = Numeric(f, a[0]);
    if (v.IsNull()) return v;
    const int32_t places = Present(a, n, 1) ? ToLong(a[1]) : 0;
    if (places < 0) Throw(kErrInvalidCall);
    if (v.type() == Type::Byte || v.type() == Type::Integer || v.type() == Type::Long) return v;
    const double d = ToDouble(v);
    double r;
    if (places > 15) {
        r = d;
    } else {
        const double scale = std::pow(10.0, places);
        double scaled = d * scale;
        // Decimal halves that binary cannot hold exactly (2.675) still round
        // as the digits read, so snap to the nearest representable half first.
        const double nearHalf = std::floor(scaled) + 0.5;
        if (std::fabs(scaled - nearHalf) < 1e-9 * std::max(1.0, std::fabs(scaled))) {
            scaled = nearHalf;
        }
        r = RoundHalfEven(scaled) / scale;
    }
    switch (v.type()) {
        case Type::Single:
            return Value::Single(static_cast<float>(r));
        case Type::Currency: {
            int64_t c = 0;
            if (!CurrencyFromDouble(r, &c)) Throw(kErrOverflow);
            return Value::Currency(c);
        }
        case Type::Date:
            return Value::Date(r);
        default:
            return Value::Double(r);
    }
}

// VBScript's linear congruential generator over 24 bits.
constexpr uint32_t kRndMultiplier = 0x43FD43FD;
constexpr uint32_t kRndIncrement = 0xC39EC3;

Value Rnd(Frame& f, Value* a, int n) {
    Runtime& rt = f.rt;
    if (Present(a, n, 0)) {
        const float x = ToSingle(Numeric(f, a[0]));
        if (x == 0) return Value::Single(static_cast<float>(rt.lastRnd));
        if (x < 0) {
            uint32_t bits;
            std::memcpy(&bits, &x, sizeof bits);
            rt.rndSeed = (bits + (bits >> 24)) & 0xFFFFFF;
        }
    }
    rt.rndSeed = (rt.rndSeed * kRndMultiplier + kRndIncrement) & 0xFFFFFF;
    rt.lastRnd = rt.rndSeed / 16777216.0;
    return Value::Single(static_cast<float>(rt.lastRnd));
}

Value Randomize(Frame& f, Value* a, int n) {
    Runtime& rt = f.rt;
    double seed;
    if (Present(a, n, 0)) {
        seed = ToDouble(Numeric(f, a[0]));
    } else {
        const double now = rt.host.Now();
        seed = (now - std::floor(now)) * 86400.0;
    }
    uint64_t bits;
    std::memcpy(&bits, &seed, sizeof bits);
    uint32_t high = static_cast<uint32_t>(bits >> 32);
    high = ((high & 0xFFFF) ^ (high >> 16)) << 8;
    rt.rndSeed = (rt.rndSeed & 0xFF) | (high & 0xFFFF00);
    return Value();
}

const Builtin kTable[] = {
    {"int", 1, 1, IntFn, kPure}, {"fix", 1, 1, FixFn, kPure},
    {"abs", 1, 1, AbsFn, kPure}, {"sqr", 1, 1, Sqr, kPure},
    {"sgn", 1, 1, Sgn, kPure},   {"atn", 1, 1, Atn, kPure},
    {"cos", 1, 1, Cos, kPure},   {"sin", 1, 1, Sin, kPure},
    {"tan", 1, 1, Tan, kPure},   {"exp", 1, 1, Exp, kPure},
    {"log", 1, 1, Log, kPure},   {"round", 1, 2, Round, kPure},
    {"rnd", 0, 1, Rnd, kImpure}, {"randomize", 0, 1, Randomize, kImpure},
};

}  // namespace

BuiltinTable MathBuiltins() {
    return {kTable, std::size(kTable)};
}

}  // namespace script
