#include "script/convert.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "script/dates.h"
#include "script/errors.h"
#include "script/number_format.h"
#include "text/char_class.h"
#include "text/compare.h"
#include "text/hex.h"

namespace script {

const Host& DefaultHost() {
    static const Host host;
    return host;
}

namespace {

std::string_view TrimBlanks(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && text::IsNumberTextBlank(text[b])) ++b;
    while (e > b && text::IsNumberTextBlank(text[e - 1])) --e;
    return text.substr(b, e - b);
}

// An unsigned decimal text in the form from_chars reads: thousands commas
// (before the point) dropped, a D exponent written as E. False when the
// text is not a number.
bool CleanDecimal(std::string_view text, std::string* clean) {
    clean->reserve(text.size());
    size_t i = 0;
    bool digits = false, point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            *clean += c;
            digits = true;
        } else if (c == ',' && !point && digits) {
            continue;
        } else if (c == '.' && !point) {
            *clean += c;
            point = true;
        } else {
            break;
        }
    }
    if (!digits) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        *clean += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) *clean += text[i++];
        bool expDigits = false;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            *clean += text[i++];
            expDigits = true;
        }
        if (!expDigits) return false;
    }
    return i == text.size();
}

// A decimal number's text split into its sign and its digits in
// CleanDecimal's form. As the system's number parsing: a negative may stand
// in parentheses, and a currency sign may lead, before or after the sign.
// False when the text is no decimal number.
bool SplitDecimal(std::string_view text, bool* negativeOut, std::string* clean) {
    if (text.empty()) return false;
    bool negative = false, signed_ = false;
    const auto takeSign = [&] {
        if (signed_ || text.empty() || (text[0] != '+' && text[0] != '-')) return;
        negative = text[0] == '-';
        signed_ = true;
        text = TrimBlanks(text.substr(1));
    };
    if (text[0] == '(') {
        if (text.back() != ')') return false;
        negative = signed_ = true;
        text = TrimBlanks(text.substr(1, text.size() - 2));
    }
    takeSign();
    if (!text.empty() && text[0] == '$') text = TrimBlanks(text.substr(1));
    takeSign();
    if (!CleanDecimal(text, clean)) return false;
    *negativeOut = negative;
    return true;
}

// The text of a decimal without an exponent (CleanDecimal's form) in
// ten-thousandths, exactly: a Double has 15 to 17 digits, Currency 19. The
// digits after the fourth decimal round half to even. False when the text
// has an exponent, which the Double's reading is left to.
bool CurrencyFromDecimal(std::string_view clean, bool negative, int64_t* out) {
    if (clean.find('e') != std::string_view::npos) return false;
    const size_t point = std::min(clean.find('.'), clean.size());
    // Up to 2^63 in ten-thousandths, the magnitude of the most negative.
    constexpr uint64_t kLimit = uint64_t{1} << 63;
    uint64_t magnitude = 0;
    const auto take = [&](char digit) {
        const uint64_t d = static_cast<uint64_t>(digit - '0');
        if (magnitude > (kLimit - d) / 10) Throw(kErrOverflow);
        magnitude = magnitude * 10 + d;
    };
    for (size_t i = 0; i < point; ++i) take(clean[i]);
    const std::string_view decimals = point < clean.size() ? clean.substr(point + 1) : "";
    for (size_t i = 0; i < 4; ++i) take(i < decimals.size() ? decimals[i] : '0');
    if (decimals.size() > 4) {
        const std::string_view rest = decimals.substr(4);
        const bool past = rest.find_first_not_of('0', 1) != std::string_view::npos;
        if (rest[0] > '5' || (rest[0] == '5' && (past || magnitude % 2 == 1))) {
            if (magnitude == kLimit) Throw(kErrOverflow);
            ++magnitude;
        }
    }
    if (magnitude == kLimit && !negative) Throw(kErrOverflow);
    *out = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
    return true;
}

}  // namespace

bool ParseNumber(std::string_view text, double* value) {
    text = TrimBlanks(text);
    if (text.empty()) return false;
    if (text[0] == '&') {
        int32_t radix = 0;
        if (text::ReadRadixNumber(text, &radix) != text.size()) return false;
        *value = radix;
        return true;
    }
    bool negative = false;
    std::string clean;
    if (!SplitDecimal(text, &negative, &clean)) return false;
    double v = 0;
    const auto res = std::from_chars(clean.data(), clean.data() + clean.size(), v);
    if (res.ec == std::errc::result_out_of_range) {
        // Too small rounds to zero; too large is not a representable number.
        if (clean.find("e-") == std::string::npos) Throw(kErrOverflow);
        v = 0;
    } else if (res.ec != std::errc() || res.ptr != clean.data() + clean.size()) {
        return false;
    }
    *value = negative ? -v : v;
    return true;
}

double RoundHalfEven(double value) {
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff > 0.5) return floor + 1;
    if (diff < 0.5) return floor;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

double ToDouble(const Value& v) {
    switch (v.type()) {
        case Type::Empty:
            return 0;
        case Type::Null:
            Throw(kErrInvalidNull);
        case Type::Boolean:
            return v.AsBoolean() ? -1 : 0;
        case Type::Byte:
            return v.AsByte();
        case Type::Integer:
            return v.AsInteger();
        case Type::Long:
            return v.AsLong();
        case Type::Single:
            return v.AsSingle();
        case Type::Double:
            return v.AsDouble();
        case Type::Currency:
            return CurrencyToDouble(v.AsCurrency());
        case Type::Date:
            return v.AsDate();
        case Type::String: {
            double d = 0;
            if (!ParseNumber(v.AsString(), &d)) Throw(kErrTypeMismatch);
            return d;
        }
        default:
            Throw(kErrTypeMismatch);
    }
}

float ToSingle(const Value& v) {
    if (v.type() == Type::Single) return v.AsSingle();
    const double d = ToDouble(v);
    if (std::abs(d) > std::numeric_limits<float>::max()) Throw(kErrOverflow);
    return static_cast<float>(d);
}

int32_t ToLong(const Value& v) {
    switch (v.type()) {
        case Type::Long:
            return v.AsLong();
        case Type::Integer:
            return v.AsInteger();
        case Type::Byte:
            return v.AsByte();
        case Type::Boolean:
            return v.AsBoolean() ? -1 : 0;
        case Type::Empty:
            return 0;
        default:
            break;
    }
    const double r = RoundHalfEven(ToDouble(v));
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) Throw(kErrOverflow);
    return static_cast<int32_t>(r);
}

int16_t ToInteger(const Value& v) {
    const int32_t l = ToLong(v);
    if (l < -32768 || l > 32767) Throw(kErrOverflow);
    return static_cast<int16_t>(l);
}

uint8_t ToByte(const Value& v) {
    const int32_t l = ToLong(v);
    if (l < 0 || l > 255) Throw(kErrOverflow);
    return static_cast<uint8_t>(l);
}

bool CurrencyFromDouble(double value, int64_t* out) {
    // A whole number a Double holds exactly is scaled exactly: its product
    // by 10,000 may need more digits than a Double has.
    constexpr double kExact = 9007199254740992.0;  // 2^53
    if (value > -kExact && value < kExact && value == std::trunc(value)) {
        const auto whole = static_cast<int64_t>(value);
        if (whole > INT64_MAX / 10000 || whole < INT64_MIN / 10000) return false;
        *out = whole * 10000;
        return true;
    }
    const double scaled = RoundHalfEven(value * 10000.0);
    if (!(scaled >= -9.2233720368547758e18 && scaled < 9.2233720368547758e18)) return false;
    *out = static_cast<int64_t>(scaled);
    return true;
}

double CurrencyToDouble(int64_t tenThousandths) {
    return static_cast<double>(tenThousandths) / 10000.0;
}

int64_t ToCurrency(const Value& v) {
    int64_t out = 0;
    switch (v.type()) {
        case Type::Currency:
            return v.AsCurrency();
        case Type::String: {
            // Read as a decimal, exactly; hexadecimal, octal and exponents
            // as a Double.
            const std::string_view text = TrimBlanks(v.AsString());
            bool negative = false;
            std::string clean;
            if (!text.starts_with('&') && SplitDecimal(text, &negative, &clean) &&
                CurrencyFromDecimal(clean, negative, &out)) {
                return out;
            }
            break;
        }
        default:
            break;
    }
    if (!CurrencyFromDouble(ToDouble(v), &out)) Throw(kErrOverflow);
    return out;
}

bool ToBoolean(const Value& v) {
    switch (v.type()) {
        case Type::Boolean:
            return v.AsBoolean();
        case Type::String: {
            const std::string& s = v.AsString();
            if (text::EqualsNoCase(s, "true")) return true;
            if (text::EqualsNoCase(s, "false")) return false;
            double d = 0;
            if (!ParseNumber(s, &d)) Throw(kErrTypeMismatch);
            return d != 0;
        }
        default:
            return ToDouble(v) != 0;
    }
}

double ToDate(const Value& v, const Host& host) {
    double d = 0;
    if (v.type() == Type::String) {
        if (!host.ParseDate(v.AsString(), &d)) Throw(kErrTypeMismatch);
        return d;
    }
    d = v.type() == Type::Date ? v.AsDate() : ToDouble(v);
    if (!IsValidDate(d)) Throw(kErrOverflow);
    return d;
}

std::string ToString(const Value& v, const Host& host) {
    switch (v.type()) {
        case Type::Empty:
            return {};
        case Type::Null:
            Throw(kErrInvalidNull);
        case Type::Boolean:
            return v.AsBoolean() ? "True" : "False";
        case Type::Byte:
            return std::to_string(v.AsByte());
        case Type::Integer:
            return std::to_string(v.AsInteger());
        case Type::Long:
            return std::to_string(v.AsLong());
        case Type::Single:
            return FormatSingle(v.AsSingle());
        case Type::Double:
            return FormatDouble(v.AsDouble());
        case Type::Currency:
            return FormatCurrency(v.AsCurrency());
        case Type::Date:
            return DateToText(v.AsDate(), host);
        case Type::String:
            return v.AsString();
        case Type::Error:
            return "Error " + std::to_string(v.AsErrorCode());
        default:
            Throw(kErrTypeMismatch);
    }
}

Value ToNumeric(const Value& v) {
    switch (v.type()) {
        case Type::Empty:
            return Value::Integer(0);
        case Type::Boolean:
            return Value::Integer(v.AsBoolean() ? -1 : 0);
        case Type::String:
            return Value::Double(ToDouble(v));
        case Type::Null:
        case Type::Byte:
        case Type::Integer:
        case Type::Long:
        case Type::Single:
        case Type::Double:
        case Type::Currency:
        case Type::Date:
            return v;
        default:
            Throw(kErrTypeMismatch);
    }
}

int CompareBinary(std::string_view a, std::string_view b) {
    if (a == b) return 0;  // the common case of = and <>
    return text::Compare(a, b, false);
}

int CompareText(std::string_view a, std::string_view b) {
    return text::Compare(a, b, true);
}

}  // namespace script
