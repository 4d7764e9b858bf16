#include "interpreter/line_text.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "text/char_class.h"
#include "text/hex.h"

namespace vantrel {

std::string_view TrimSpaces(std::string_view text) {
    size_t begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos) return {};
    size_t end = text.find_last_not_of(' ');
    return text.substr(begin, end - begin + 1);
}

std::string RemoveQuotes(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c != '"') out += c;
    }
    return out;
}

double LeadingNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && text::IsBlank(text[i])) ++i;
    // "&HFFFF" is what the script makes of the text: -1.
    if (std::int32_t radix = 0; text::ReadRadixNumber(text.substr(i), &radix) > 0) return radix;
    // Copy only the characters a number can hold, so strtod never reads
    // past the text or takes words such as "inf" and "nan".
    std::string number;
    size_t k = i;
    if (k < text.size() && (text[k] == '+' || text[k] == '-')) number += text[k++];
    bool digits = false;
    while (k < text.size() && text::IsAsciiDigit(text[k])) number += text[k++], digits = true;
    if (k < text.size() && text[k] == '.') {
        number += text[k++];
        while (k < text.size() && text::IsAsciiDigit(text[k])) number += text[k++], digits = true;
    }
    if (!digits) return 0;
    if (k < text.size() && (text[k] == 'e' || text[k] == 'E')) {
        size_t e = k + 1;
        std::string exponent = "e";
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) exponent += text[e++];
        if (e < text.size() && text::IsAsciiDigit(text[e])) {
            while (e < text.size() && text::IsAsciiDigit(text[e])) exponent += text[e++];
            number += exponent;
        }
    }
    double value = std::strtod(number.c_str(), nullptr);
    return std::isfinite(value) ? value : 0;
}

}  // namespace vantrel
