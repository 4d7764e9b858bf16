#include "text/case_fold.h"

#include <algorithm>
#include <cstdint>

#include "text/utf8.h"

namespace text {

namespace {

struct CaseRun {
    char32_t first, last;
    int32_t delta;
    uint8_t stride;
};

#include "text/case_table.inc"

template <size_t N>
char32_t MapCase(const CaseRun (&table)[N], char32_t code) {
    // The last run that starts at or before code.
    const CaseRun* end = table + N;
    const CaseRun* run = std::upper_bound(table, end, code,
                                          [](char32_t c, const CaseRun& r) { return c < r.first; });
    if (run == table) return code;
    --run;
    if (code > run->last || (code - run->first) % run->stride != 0) return code;
    return static_cast<char32_t>(static_cast<int32_t>(code) + run->delta);
}

template <typename Map>
std::string MapText(std::string_view text, Map map) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            out.push_back(static_cast<char>(map(b)));
            ++i;
            continue;
        }
        const utf8::Char c = utf8::Decode(text, i);
        if (c.valid) {
            utf8::Append(&out, map(c.code));
        } else {
            out.append(text.substr(i, c.bytes));
        }
        i += c.bytes;
    }
    return out;
}

}  // namespace

char32_t Upper(char32_t code) {
    if (code < 0x80) return static_cast<char32_t>(AsciiUpper(static_cast<char>(code)));
    return MapCase(kToUpper, code);
}

char32_t Lower(char32_t code) {
    if (code < 0x80) return static_cast<char32_t>(AsciiLower(static_cast<char>(code)));
    return MapCase(kToLower, code);
}

std::string UpperCase(std::string_view text) {
    return MapText(text, Upper);
}

std::string LowerCase(std::string_view text) {
    if (!utf8::IsAscii(text)) return MapText(text, Lower);
    // Names are ASCII: the script engine's lexer and binder lower every one.
    std::string out(text);
    for (char& c : out) c = AsciiLower(c);
    return out;
}

std::string FoldCase(std::string_view text) {
    return MapText(text, Fold);
}

std::u16string FoldedUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const utf8::Char c = utf8::Decode(text, i);
        i += c.bytes;
        const char32_t code = Fold(utf8::CodeOf(c));
        if (code < 0x10000) {
            out.push_back(static_cast<char16_t>(code));
        } else {
            out.push_back(utf8::HighHalf(code));
            out.push_back(utf8::LowHalf(code));
        }
    }
    return out;
}

}  // namespace text
