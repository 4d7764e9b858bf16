#include "script/operators.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "script/convert.h"
#include "script/errors.h"
#include "text/compare.h"
#include "text/utf8.h"

namespace script {
namespace {

// Numeric width, the order in which mixed operands widen.
enum Rank { kByte, kInteger, kLong, kSingle, kDouble, kCurrency, kDate };

Rank RankOf(const Value& v) {
    switch (v.type()) {
        case Type::Byte:
            return kByte;
        case Type::Integer:
            return kInteger;
        case Type::Long:
            return kLong;
        case Type::Single:
            return kSingle;
        case Type::Double:
            return kDouble;
        case Type::Currency:
            return kCurrency;
        case Type::Date:
            return kDate;
        default:
            Throw(kErrTypeMismatch);
    }
}

int64_t IntegerOf(const Value& v) {
    switch (v.type()) {
        case Type::Byte:
            return v.AsByte();
        case Type::Integer:
            return v.AsInteger();
        default:
            return v.AsLong();
    }
}

// The smallest integer subtype at or above `rank` that holds r, else Double.
Value FitInteger(int64_t r, Rank rank) {
    if (rank == kByte && r >= 0 && r <= 255) return Value::Byte(static_cast<uint8_t>(r));
    return ToValue(WholeNumber(r, rank >= kLong));
}

Value CheckedDouble(double d) {
    return ToValue(RealNumber(d));
}

Value FitSingle(double d) {
    if (!std::isfinite(d)) Throw(kErrOverflow);
    if (std::abs(d) <= std::numeric_limits<float>::max()) {
        return Value::Single(static_cast<float>(d));
    }
    return Value::Double(d);
}

Value CurrencyResult(double d) {
    int64_t c = 0;
    if (!CurrencyFromDouble(d, &c)) Throw(kErrOverflow);
    return Value::Currency(c);
}

// Integers, Longs and Doubles, loop counters and sums, are the kernel's;
// the rest are widened to the larger of the two kinds first.
template <BinaryOp Op>
Value GeneralArithmetic(const Value& a0, const Value& b0) {
    if (const Number x = NumberOf(a0), y = NumberOf(b0);
        x.type != Type::Empty && y.type != Type::Empty) {
        return ToValue(Compute<Op>(x, y));
    }
    const Value a = ToNumeric(a0);
    const Value b = ToNumeric(b0);
    if (a.IsNull() || b.IsNull()) return Value::Null();
    const Rank ra = RankOf(a), rb = RankOf(b);
    Rank r = ra > rb ? ra : rb;
    if (r == kDate) {
        const double x = ToDouble(a), y = ToDouble(b);
        if (Op == BinaryOp::kMul) return CheckedDouble(x * y);
        if (Op == BinaryOp::kSub && ra == kDate && rb == kDate) return CheckedDouble(x - y);
        const double d = Arithmetic<Op>(x, y);
        if (!std::isfinite(d) || d < -657434.0 || d >= 2958466.0) Throw(kErrOverflow);
        return Value::Date(d);
    }
    if (r <= kLong) return FitInteger(Arithmetic<Op>(IntegerOf(a), IntegerOf(b)), r);
    if (r == kCurrency) {
        if (Op != BinaryOp::kMul && ra == kCurrency && rb == kCurrency) {
            const int64_t x = a.AsCurrency(), y = b.AsCurrency();
            int64_t out = 0;
            const bool overflow = Op == BinaryOp::kAdd ? __builtin_add_overflow(x, y, &out)
                                                       : __builtin_sub_overflow(x, y, &out);
            if (overflow) Throw(kErrOverflow);
            return Value::Currency(out);
        }
        return CurrencyResult(Arithmetic<Op>(ToDouble(a), ToDouble(b)));
    }
    const double d = Arithmetic<Op>(ToDouble(a), ToDouble(b));
    // Single with Long widens to Double: a Single cannot hold every Long.
    if (r == kSingle && ra != kLong && rb != kLong) return FitSingle(d);
    return CheckedDouble(d);
}

// The integer subtype for \, Mod and the bitwise operators.
Rank IntegerRank(const Value& a, const Value& b) {
    const auto rank = [](const Value& v) {
        switch (v.type()) {
            case Type::Byte:
                return kByte;
            case Type::Integer:
            case Type::Boolean:
            case Type::Empty:
                return kInteger;
            default:
                return kLong;
        }
    };
    const Rank x = rank(a), y = rank(b);
    return x > y ? x : y;
}

Value MakeInteger(int64_t v, Rank rank) {
    if (rank == kByte) return Value::Byte(static_cast<uint8_t>(v));
    if (rank == kInteger) return Value::Integer(static_cast<int16_t>(v));
    return Value::Long(static_cast<int32_t>(v));
}

// A String operand of a logical operator may spell a Boolean.
Value LogicalOperand(const Value& v) {
    if (v.IsString()) {
        if (text::EqualsNoCase(v.AsString(), "true")) return Value::Boolean(true);
        if (text::EqualsNoCase(v.AsString(), "false")) return Value::Boolean(false);
        return Value::Long(ToLong(v));
    }
    if (v.IsObject() || v.IsArray()) Throw(kErrTypeMismatch);
    return v;
}

enum class Logic { kAnd, kOr, kXor, kEqv, kImp };

int64_t ApplyLogic(Logic op, int64_t x, int64_t y) {
    switch (op) {
        case Logic::kAnd:
            return x & y;
        case Logic::kOr:
            return x | y;
        case Logic::kXor:
            return x ^ y;
        case Logic::kEqv:
            return ~(x ^ y);
        case Logic::kImp:
            return ~x | y;
    }
    return 0;
}

Value Logical(Logic op, const Value& a0, const Value& b0) {
    const Value a = LogicalOperand(a0);
    const Value b = LogicalOperand(b0);
    const bool an = a.IsNull(), bn = b.IsNull();
    if (an || bn) {
        if (an && bn) return Value::Null();
        // Null is unknown: the result is known only where every bit agrees
        // whatever the unknown side holds.
        const Value& known = an ? b : a;
        const bool isBool = known.type() == Type::Boolean;
        const int64_t k = isBool ? (known.AsBoolean() ? -1 : 0) : ToLong(known);
        const Rank rank = isBool ? kInteger : IntegerRank(known, known);
        const auto result = [&](int64_t v) {
            return isBool ? Value::Boolean(v != 0) : MakeInteger(v, rank);
        };
        switch (op) {
            case Logic::kAnd:
                if (k == 0) return result(0);
                break;
            case Logic::kOr:
                if (k == -1 || (rank == kByte && k == 255)) return result(k);
                break;
            case Logic::kImp:
                if (an && (k == -1 || (rank == kByte && k == 255))) return result(k);
                if (bn && k == 0) return result(-1);
                break;
            default:
                break;
        }
        return Value::Null();
    }
    if (a.type() == Type::Boolean && b.type() == Type::Boolean) {
        return Value::Boolean(ApplyLogic(op, a.AsBoolean() ? -1 : 0, b.AsBoolean() ? -1 : 0) != 0);
    }
    const Rank rank = IntegerRank(a, b);
    const int64_t x = rank == kLong ? ToLong(a) : ToInteger(a);
    const int64_t y = rank == kLong ? ToLong(b) : ToInteger(b);
    int64_t r = ApplyLogic(op, x, y);
    if (rank == kByte) r &= 0xFF;
    return MakeInteger(r, rank);
}

bool IsNumericLike(const Value& v) {
    return v.IsNumber() || v.type() == Type::Boolean || v.type() == Type::Date;
}

}  // namespace

Value Add(const Value& a, const Value& b) {
    if (a.IsString() && b.IsString()) return Value::String(a.AsString() + b.AsString());
    if (a.IsNull() || b.IsNull()) return Value::Null();
    // Empty leaves the other side as it is, strings included.
    if (a.IsEmpty() && !b.IsEmpty()) return b.IsObject() || b.IsArray() ? ToNumeric(b) : b;
    if (b.IsEmpty() && !a.IsEmpty()) return a.IsObject() || a.IsArray() ? ToNumeric(a) : a;
    return GeneralArithmetic<BinaryOp::kAdd>(a, b);
}

Value Subtract(const Value& a, const Value& b) {
    return GeneralArithmetic<BinaryOp::kSub>(a, b);
}

Value Multiply(const Value& a, const Value& b) {
    return GeneralArithmetic<BinaryOp::kMul>(a, b);
}

Value Divide(const Value& a0, const Value& b0) {
    const Value a = ToNumeric(a0);
    const Value b = ToNumeric(b0);
    if (a.IsNull() || b.IsNull()) return Value::Null();
    const double x = ToDouble(a), y = ToDouble(b);
    if (y == 0) Throw(x == 0 ? kErrOverflow : kErrDivisionByZero);
    const Rank ra = RankOf(a), rb = RankOf(b);
    const bool single = (ra == kSingle && rb <= kInteger) || (rb == kSingle && ra <= kInteger) ||
                        (ra == kSingle && rb == kSingle);
    if (single) return FitSingle(x / y);
    return CheckedDouble(x / y);
}

Value IntDivide(const Value& a, const Value& b) {
    if (a.IsNull() || b.IsNull()) return Value::Null();
    const Rank rank = IntegerRank(ToNumeric(a), ToNumeric(b));
    const int64_t x = ToLong(a), y = ToLong(b);
    if (y == 0) Throw(kErrDivisionByZero);
    return FitInteger(x / y, rank);
}

Value Modulo(const Value& a, const Value& b) {
    if (a.IsNull() || b.IsNull()) return Value::Null();
    const Rank rank = IntegerRank(ToNumeric(a), ToNumeric(b));
    const int64_t x = ToLong(a), y = ToLong(b);
    if (y == 0) Throw(kErrDivisionByZero);
    return FitInteger(x % y, rank);
}

Value Power(const Value& a, const Value& b) {
    if (a.IsNull() || b.IsNull()) return Value::Null();
    const double x = ToDouble(a), y = ToDouble(b);
    if (x < 0 && y != std::floor(y)) Throw(kErrInvalidCall);
    if (x == 0 && y < 0) Throw(kErrDivisionByZero);
    return CheckedDouble(std::pow(x, y));
}

Value Negate(const Value& a0) {
    const Value a = ToNumeric(a0);
    switch (a.type()) {
        case Type::Null:
            return a;
        case Type::Byte:
            return Value::Integer(static_cast<int16_t>(-a.AsByte()));
        case Type::Single:
            return Value::Single(-a.AsSingle());
        case Type::Currency:
            if (a.AsCurrency() == std::numeric_limits<int64_t>::min()) Throw(kErrOverflow);
            return Value::Currency(-a.AsCurrency());
        case Type::Date:
            return Value::Date(-a.AsDate());
        default:  // Integer, Long or Double
            return ToValue(Negated(NumberOf(a)));
    }
}

namespace {

void Append(std::string* text, const Value& b, const Host& host) {
    if (b.IsNull()) return;
    if (b.IsString()) {
        if (text->size() + b.AsString().size() > kMaxStringLength) Throw(kErrOutOfMemory);
        text::utf8::AppendText(text, b.AsString());
    } else {
        *text += ToString(b, host);
        if (text->size() > kMaxStringLength) Throw(kErrOutOfMemory);
    }
}

}  // namespace

Value Concat(const Value& a, const Value& b, const Host& host) {
    if (a.IsNull() && b.IsNull()) return Value::Null();
    std::string text = a.IsNull() ? std::string() : ToString(a, host);
    Append(&text, b, host);
    return Value::String(std::move(text));
}

void AppendText(Value* a, const Value& b, const Host& host) {
    Append(&a->MutableString(), b, host);
}

int CompareValues(const Value& a, const Value& b, bool textCompare, bool* isNull) {
    *isNull = false;
    if (a.IsNull() || b.IsNull()) {
        *isNull = true;
        return 0;
    }
    if (a.IsObject() || b.IsObject()) Throw(kErrNoSuchMember);
    if (a.IsArray() || b.IsArray()) Throw(kErrTypeMismatch);
    const bool as = a.IsString(), bs = b.IsString();
    if (as || bs) {
        if (as && bs) {
            return textCompare ? CompareText(a.AsString(), b.AsString())
                               : CompareBinary(a.AsString(), b.AsString());
        }
        const Value& other = as ? b : a;
        if (other.IsEmpty()) {
            const std::string& s = as ? a.AsString() : b.AsString();
            const int c = s.empty() ? 0 : 1;
            return as ? c : -c;
        }
        // A number is always less than a string.
        return as ? 1 : -1;
    }
    if (a.type() == Type::Currency && b.type() == Type::Currency) {
        return a.AsCurrency() < b.AsCurrency() ? -1 : (a.AsCurrency() > b.AsCurrency() ? 1 : 0);
    }
    if (!IsNumericLike(a) && !a.IsEmpty()) Throw(kErrTypeMismatch);
    if (!IsNumericLike(b) && !b.IsEmpty()) Throw(kErrTypeMismatch);
    const double x = ToDouble(a), y = ToDouble(b);
    return x < y ? -1 : (x > y ? 1 : 0);
}

Value Compare(CompareOp op, const Value& a, const Value& b) {
    bool isNull = false;
    const int c = CompareValues(a, b, false, &isNull);
    if (isNull) return Value::Null();
    switch (op) {
        case CompareOp::kEq:
            return Value::Boolean(c == 0);
        case CompareOp::kNe:
            return Value::Boolean(c != 0);
        case CompareOp::kLt:
            return Value::Boolean(c < 0);
        case CompareOp::kGt:
            return Value::Boolean(c > 0);
        case CompareOp::kLe:
            return Value::Boolean(c <= 0);
        case CompareOp::kGe:
            return Value::Boolean(c >= 0);
    }
    return Value::Null();
}

Value Not(const Value& a0) {
    const Value a = LogicalOperand(a0);
    switch (a.type()) {
        case Type::Null:
            return a;
        case Type::Boolean:
            return Value::Boolean(!a.AsBoolean());
        case Type::Byte:
            return Value::Byte(static_cast<uint8_t>(~a.AsByte()));
        case Type::Empty:
            return Value::Integer(-1);
        case Type::Integer:
            return Value::Integer(static_cast<int16_t>(~a.AsInteger()));
        default:
            return Value::Long(~ToLong(a));
    }
}

Value And(const Value& a, const Value& b) {
    return Logical(Logic::kAnd, a, b);
}
Value Or(const Value& a, const Value& b) {
    return Logical(Logic::kOr, a, b);
}
Value Xor(const Value& a, const Value& b) {
    return Logical(Logic::kXor, a, b);
}
Value Eqv(const Value& a, const Value& b) {
    return Logical(Logic::kEqv, a, b);
}
Value Imp(const Value& a, const Value& b) {
    return Logical(Logic::kImp, a, b);
}

bool Is(const Value& a, const Value& b) {
    if (!a.IsObject() || !b.IsObject()) Throw(kErrObjectRequired);
    return a.AsObject() == b.AsObject();
}

}  // namespace script
