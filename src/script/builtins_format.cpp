// FormatNumber, FormatCurrency and FormatPercent in the host's regional
// number settings (US English by default: two decimals, leading zero,
// thousands commas, negative currency in parentheses), and the URL-style
// Escape/Unescape.
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "script/builtins.h"
#include "script/convert.h"
#include "script/nodes.h"
#include "text/char_class.h"
#include "text/hex.h"
#include "text/number_settings.h"
#include "text/utf8.h"

namespace script {
namespace {

// The 15 significant digits VBScript works with, rounded half away from zero
// to `decimals` places, as integer and fraction digit strings.
void DecimalDigits(double value, int decimals, std::string* whole, std::string* fraction) {
    char buf[64];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14);
    const std::string sci(buf, res.ptr);
    const size_t e = sci.find('e');
    std::string digits;
    for (size_t i = 0; i < e; ++i) {
        if (sci[i] != '.') digits += sci[i];
    }
    int exponent = std::atoi(sci.c_str() + e + 1);
    if (value == 0) exponent = 0;
    // Place the decimal point: digits before it are exponent + 1.
    int point = exponent + 1;
    if (point < 0) {
        digits.insert(0, static_cast<size_t>(-point), '0');
        point = 0;
    }
    if (static_cast<int>(digits.size()) < point + decimals) {
        digits.append(static_cast<size_t>(point + decimals) - digits.size(), '0');
    }
    const size_t keep = static_cast<size_t>(point + decimals);
    bool carry = keep < digits.size() && digits[keep] >= '5';
    digits.resize(keep);
    for (size_t i = keep; carry && i-- > 0;) {
        if (digits[i] == '9') {
            digits[i] = '0';
        } else {
            ++digits[i];
            carry = false;
        }
    }
    if (carry) {
        digits.insert(digits.begin(), '1');
        ++point;
    }
    *whole = digits.substr(0, static_cast<size_t>(point));
    *fraction = digits.substr(static_cast<size_t>(point));
}

// Tristate arguments: -1 true, 0 false, -2 (or omitted) the default.
bool Tristate(const Value* a, int n, int i, bool fallback) {
    if (!Present(a, n, i)) return fallback;
    const int32_t v = ToLong(a[i]);
    if (v == -2) return fallback;
    return v != 0;
}

// The digits of |value| laid out by the regional settings: whole part
// grouped, decimal separator, fraction. Sets *zero when what shows is zero
// (no sign then).
std::string LayOut(double value, int32_t decimals, bool leading, bool group,
                   const text::NumberSettings& ns, bool* zero) {
    std::string whole, fraction;
    DecimalDigits(value, decimals, &whole, &fraction);
    const size_t start = whole.find_first_not_of('0');
    whole.erase(0, start == std::string::npos ? whole.size() : start);
    *zero = whole.empty() && fraction.find_first_not_of('0') == std::string::npos;
    if (whole.empty() && leading) whole.assign(1, '0');
    if (group) whole = text::GroupDigits(whole, ns.grouping, ns.groupSize);
    if (decimals > 0) {
        whole += ns.decimal;
        whole += fraction;
    }
    return whole;
}

// The arguments after the value: decimals, leading zero, parentheses for
// negatives, grouping; each omitted one takes the regional default.
struct Layout {
    int32_t decimals;
    bool leading, parens, group;
};

Layout ReadLayout(const Value* a, int n, int defaultDigits, bool parensDefault,
                  const text::NumberSettings& ns) {
    int32_t decimals = Present(a, n, 1) ? ToLong(a[1]) : -1;
    if (decimals == -1) decimals = defaultDigits;
    if (decimals < -1 || decimals > 255) Throw(kErrInvalidCall);
    return Layout{decimals, Tristate(a, n, 2, ns.leadingZero), Tristate(a, n, 3, parensDefault),
                  Tristate(a, n, 4, ns.groupSize > 0)};
}

// A signed number: "-" before it or parentheses around it when negative.
std::string Signed(double value, const std::string& body, bool zero, bool parens) {
    if (value >= 0 || zero) return body;
    return parens ? "(" + body + ")" : "-" + body;
}

double Number(Frame& f, const Value& v) {
    const Value d = Dereference(f.rt, v);
    if (d.IsNull()) Throw(kErrTypeMismatch);
    return ToDouble(d);
}

Value FormatNumber(Frame& f, Value* a, int n) {
    const text::NumberSettings ns = f.rt.host.Numbers();
    const double v = Number(f, a[0]);
    const Layout l = ReadLayout(a, n, ns.digits, ns.negativeParens, ns);
    bool zero = false;
    const std::string body = LayOut(v, l.decimals, l.leading, l.group, ns, &zero);
    return Value::String(Signed(v, body, zero, l.parens));
}

Value FormatCurrency(Frame& f, Value* a, int n) {
    const text::NumberSettings ns = f.rt.host.Numbers();
    const double v = Number(f, a[0]);
    const Layout l = ReadLayout(a, n, ns.currencyDigits, ns.currencyNegativeParens, ns);
    bool zero = false;
    std::string body = LayOut(v, l.decimals, l.leading, l.group, ns, &zero);
    switch (ns.currencyPlacement) {
        case 1:
            body += ns.currency;
            break;
        case 2:
            body = ns.currency + " " + body;
            break;
        case 3:
            body += " " + ns.currency;
            break;
        default:
            body = ns.currency + body;
            break;
    }
    return Value::String(Signed(v, body, zero, l.parens));
}

Value FormatPercent(Frame& f, Value* a, int n) {
    const text::NumberSettings ns = f.rt.host.Numbers();
    const double v = Number(f, a[0]) * 100;
    const Layout l = ReadLayout(a, n, ns.digits, ns.negativeParens, ns);
    bool zero = false;
    const std::string body = LayOut(v, l.decimals, l.leading, l.group, ns, &zero);
    return Value::String(Signed(v, body + "%", zero, l.parens));
}

bool Unreserved(unsigned char c) {
    return text::IsAsciiLetterOrDigit(c) || c == '@' || c == '*' || c == '_' || c == '+' ||
           c == '-' || c == '.' || c == '/';
}

// Escape and Unescape work on UTF-16 units, as VBScript's do.
Value Escape(Frame& f, Value* a, int) {
    if (a[0].IsNull()) return Value::Null();
    std::string out;
    for (const char16_t u : text::utf8::ToUtf16(ArgText(f, a[0]))) {
        if (u < 0x80 && Unreserved(static_cast<unsigned char>(u))) {
            out += static_cast<char>(u);
        } else if (u < 0x100) {
            out += '%';
            out += text::kHexDigits[u >> 4];
            out += text::kHexDigits[u & 15];
        } else {
            out += "%u";
            for (int shift = 12; shift >= 0; shift -= 4) out += text::kHexDigits[(u >> shift) & 15];
        }
    }
    return Value::String(std::move(out));
}

Value Unescape(Frame& f, Value* a, int) {
    if (a[0].IsNull()) return Value::Null();
    const std::string s = ArgText(f, a[0]);
    std::string out;
    // Escaped units wait here so that the two halves of a pair join.
    std::u16string units;
    const auto flush = [&] {
        out += text::utf8::FromUtf16(units);
        units.clear();
    };
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%') {
            const bool wide = i + 1 < s.size() && (s[i + 1] == 'u' || s[i + 1] == 'U');
            const int v = wide ? text::ReadHex(s, i + 2, 4) : text::ReadHex(s, i + 1, 2);
            if (v >= 0) {
                units += static_cast<char16_t>(v);
                i += wide ? 5 : 2;
                continue;
            }
        }
        flush();
        out += s[i];
    }
    flush();
    return Value::String(std::move(out));
}

const Builtin kTable[] = {
    {"formatnumber", 1, 5, FormatNumber, kPure},   {"formatcurrency", 1, 5, FormatCurrency, kPure},
    {"formatpercent", 1, 5, FormatPercent, kPure}, {"escape", 1, 1, Escape, kPure},
    {"unescape", 1, 1, Unescape, kPure},
};

}  // namespace

BuiltinTable FormatBuiltins() {
    return {kTable, std::size(kTable)};
}

}  // namespace script
