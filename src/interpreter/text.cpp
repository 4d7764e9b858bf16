#include "interpreter/text.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "text/char_class.h"
#include "text/compare.h"
#include "text/hex.h"

namespace vantrel {

std::string_view TrimSpaces(std::string_view text) {
    size_t begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos) return {};
    size_t end = text.find_last_not_of(' ');
    return text.substr(begin, end - begin + 1);
}

std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view with,
                       bool noCase) {
    if (find.empty()) return std::string(text);
    std::string out;
    size_t start = 0;
    for (;;) {
        size_t at = noCase ? text::FindNoCase(text, find, start) : text.find(find, start);
        if (at == std::string_view::npos) break;
        out.append(text.substr(start, at - start));
        out.append(with);
        size_t end = at + find.size();
        if (noCase) text::MatchesAt(text, at, find, &end);
        start = end;
    }
    out.append(text.substr(start));
    return out;
}

long CountOcc(std::string_view text, std::string_view find, int compare) {
    if (find.empty()) return 0;
    long count = 0;
    size_t start = 0;
    for (;;) {
        size_t at = compare == 1 ? text::FindNoCase(text, find, start) : text.find(find, start);
        if (at == std::string_view::npos) return count;
        ++count;
        start = at + find.size();
    }
}

long LastInStr(std::string_view text, std::string_view find) {
    if (find.empty() || find.size() > text.size()) return 0;
    size_t at = text.rfind(find);
    return at == std::string_view::npos ? 0 : static_cast<long>(at) + 1;
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

std::vector<std::string> SplitLines(std::string_view text, std::string_view breaks) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of(breaks, start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

std::string RemoveQuotes(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c != '"') out += c;
    }
    return out;
}

}  // namespace vantrel
