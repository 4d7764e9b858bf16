#include "script/number_format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace script {
namespace {

// Like printf's %.{digits}G with a two-digit minimum exponent, but built on
// to_chars so the C locale's decimal point never leaks in.
std::string FormatSignificant(double value, int digits) {
    if (value == 0) return "0";
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
    char buf[64];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, digits - 1);
    const std::string sci(buf, res.ptr);
    const size_t e = sci.find('e');
    const bool negative = sci[0] == '-';
    std::string mantissa;
    for (size_t i = negative ? 1 : 0; i < e; ++i) {
        if (sci[i] != '.') mantissa += sci[i];
    }
    const int exponent = std::atoi(sci.c_str() + e + 1);
    while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();

    std::string out = negative ? "-" : "";
    if (exponent < -4 || exponent >= digits) {
        out += mantissa[0];
        if (mantissa.size() > 1) {
            out += '.';
            out.append(mantissa, 1);
        }
        out += exponent < 0 ? "E-" : "E+";
        const int magnitude = std::abs(exponent);
        if (magnitude < 10) out += '0';
        out += std::to_string(magnitude);
    } else if (exponent < 0) {
        out += "0.";
        out.append(static_cast<size_t>(-exponent - 1), '0');
        out += mantissa;
    } else {
        const size_t intDigits = static_cast<size_t>(exponent) + 1;
        if (mantissa.size() <= intDigits) {
            out += mantissa;
            out.append(intDigits - mantissa.size(), '0');
        } else {
            out.append(mantissa, 0, intDigits);
            out += '.';
            out.append(mantissa, intDigits);
        }
    }
    return out;
}

}  // namespace

std::string FormatDouble(double value) {
    return FormatSignificant(value, 15);
}

std::string FormatSingle(float value) {
    return FormatSignificant(value, 7);
}

std::string FormatCurrency(int64_t tenThousandths) {
    const bool negative = tenThousandths < 0;
    const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(tenThousandths)
                                        : static_cast<uint64_t>(tenThousandths);
    std::string out = negative ? "-" : "";
    out += std::to_string(magnitude / 10000);
    uint64_t frac = magnitude % 10000;
    if (frac != 0) {
        std::string digits = std::to_string(frac);
        digits.insert(0, 4 - digits.size(), '0');
        while (digits.back() == '0') digits.pop_back();
        out += '.';
        out += digits;
    }
    return out;
}

}  // namespace script
